#include "platform/Com.h"

#include <gtest/gtest.h>

namespace tavrel::platform {
namespace {

TEST(Bstr, HoldsLengthAndEmbeddedNul) {
  BSTR b = AllocBstr(std::u16string_view(u"a\0b", 3));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(SysStringLen(b), 3u);
  EXPECT_EQ(BstrView(b), std::u16string_view(u"a\0b", 3));
  EXPECT_EQ(b[3], 0);
  SysFreeString(b);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_TRUE(BstrView(nullptr).empty());
}

TEST(Variant, ClearFreesTheStringAndEmpties) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = AllocBstr(u"Standard");
  EXPECT_EQ(VariantClear(&v), S_OK);
  EXPECT_EQ(v.vt, VT_EMPTY);
}

TEST(ComError, CarriesCodeAndTheHostsDescription) {
  IErrorInfo* info = MakeErrorInfo(u"Der Ordner fehlt");
  ASSERT_NE(info, nullptr);
  try {
    ThrowComError(E_FAIL, info);
  } catch (const _com_error& e) {
    EXPECT_EQ(ErrorCode(e), E_FAIL);
    EXPECT_EQ(ErrorDescription(e), u"Der Ordner fehlt");
    const _com_error copy = e;  // NOLINT(performance-unnecessary-copy-initialization): the copy is under test
    EXPECT_EQ(ErrorDescription(copy), u"Der Ordner fehlt");
  }
  try {
    ThrowComError(E_POINTER, nullptr);
  } catch (const _com_error& e) {
    EXPECT_EQ(ErrorCode(e), E_POINTER);
    EXPECT_EQ(ErrorDescription(e), u"");
  }
}

TEST(ErrorInfo, IsTakenFromTheThreadOnce) {
  IErrorInfo* info = MakeErrorInfo(u"boom");
  ASSERT_EQ(SetErrorInfo(0, info), S_OK);
  info->Release();
  IErrorInfo* got = nullptr;
  ASSERT_EQ(GetErrorInfo(0, &got), S_OK);
  ASSERT_NE(got, nullptr);
  BSTR text = nullptr;
  got->GetDescription(&text);
  EXPECT_EQ(BstrView(text), u"boom");
  SysFreeString(text);
  got->Release();
  IErrorInfo* again = nullptr;
  EXPECT_EQ(GetErrorInfo(0, &again), S_FALSE);
  EXPECT_EQ(again, nullptr);
}

}  // namespace
}  // namespace tavrel::platform
