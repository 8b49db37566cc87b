// The template the native dialog stand-in runs must be the one compiled into
// the Windows module: read back from this program's resources (linked from
// the same resource script) and compared field by field.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "resources/SettingsDialogTemplate.h"
#include "resources/resource.h"

namespace tavrel::resources {
namespace {

class Reader {
 public:
  explicit Reader(const BYTE* data) : data_(data) {}
  template <class T>
  T Take() {
    T value;
    std::memcpy(&value, data_ + pos_, sizeof value);
    pos_ += sizeof value;
    return value;
  }
  std::u16string String() {
    std::u16string text;
    for (char16_t c = Take<char16_t>(); c != 0; c = Take<char16_t>()) text.push_back(c);
    return text;
  }
  // A string or, after 0xFFFF, an ordinal (returned as u"#" and the unit).
  std::u16string StringOrOrdinal() {
    char16_t first;
    std::memcpy(&first, data_ + pos_, sizeof first);
    if (first == 0xFFFF) {
      pos_ += 2;
      return std::u16string{u'#', Take<char16_t>()};
    }
    return String();
  }
  void AlignToDword() { pos_ = (pos_ + 3) & ~static_cast<size_t>(3); }
  void Skip(size_t n) { pos_ += n; }

 private:
  const BYTE* data_;
  size_t pos_ = 0;
};

char16_t ClassOrdinal(platform::ControlClass c) { return static_cast<char16_t>(c); }

TEST(DialogTemplate, TheDataMatchesTheCompiledResource) {
  HMODULE self = ::GetModuleHandleW(nullptr);
  HRSRC found = ::FindResourceW(self, MAKEINTRESOURCEW(IDD_SETTINGS), MAKEINTRESOURCEW(5));
  ASSERT_NE(found, nullptr);
  const auto* data = static_cast<const BYTE*>(::LockResource(::LoadResource(self, found)));
  ASSERT_NE(data, nullptr);
  const platform::DialogTemplate& expected = SettingsDialogTemplate();

  Reader r(data);
  EXPECT_EQ(r.Take<WORD>(), 1);
  EXPECT_EQ(r.Take<WORD>(), 0xFFFF);
  EXPECT_EQ(r.Take<DWORD>(), 0u);  // help identifier
  EXPECT_EQ(r.Take<DWORD>(), 0u);  // extended style
  EXPECT_EQ(r.Take<DWORD>(), expected.style);
  const WORD count = r.Take<WORD>();
  ASSERT_EQ(count, expected.items.size());
  EXPECT_EQ(r.Take<short>(), expected.x);
  EXPECT_EQ(r.Take<short>(), expected.y);
  EXPECT_EQ(r.Take<short>(), expected.cx);
  EXPECT_EQ(r.Take<short>(), expected.cy);
  EXPECT_EQ(r.StringOrOrdinal(), u"");  // menu
  EXPECT_EQ(r.StringOrOrdinal(), u"");  // class
  EXPECT_EQ(r.String(), expected.title);
  EXPECT_EQ(r.Take<WORD>(), expected.pointSize);
  EXPECT_EQ(r.Take<WORD>(), expected.weight);
  EXPECT_EQ(r.Take<BYTE>() != 0, expected.italic);
  EXPECT_EQ(r.Take<BYTE>(), expected.charset);
  EXPECT_EQ(r.String(), expected.fontName);
  for (const platform::DialogItemTemplate& item : expected.items) {
    r.AlignToDword();
    EXPECT_EQ(r.Take<DWORD>(), 0u) << item.id;
    EXPECT_EQ(r.Take<DWORD>(), 0u) << item.id;
    EXPECT_EQ(r.Take<DWORD>(), item.style) << item.id;
    EXPECT_EQ(r.Take<short>(), item.x) << item.id;
    EXPECT_EQ(r.Take<short>(), item.y) << item.id;
    EXPECT_EQ(r.Take<short>(), item.cx) << item.id;
    EXPECT_EQ(r.Take<short>(), item.cy) << item.id;
    EXPECT_EQ(static_cast<int>(r.Take<DWORD>()), item.id);
    EXPECT_EQ(r.Take<WORD>(), 0xFFFF) << item.id;
    EXPECT_EQ(r.Take<WORD>(), ClassOrdinal(item.controlClass)) << item.id;
    EXPECT_EQ(r.StringOrOrdinal(), item.text) << item.id;
    r.Skip(r.Take<WORD>());
  }
}

}  // namespace
}  // namespace tavrel::resources
