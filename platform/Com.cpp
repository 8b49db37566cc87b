#include "platform/Com.h"

#include "platform/UniqueHandle.h"

namespace tavrel::platform {

void ThrowComError(HRESULT hr, IErrorInfo* info) { throw _com_error(hr, info, false); }

HRESULT ErrorCode(const _com_error& e) { return e.Error(); }

namespace {
void ReleaseInfo(IErrorInfo* info) { info->Release(); }
void FreeText(BSTR text) { SysFreeString(text); }
}  // namespace

std::u16string ErrorDescription(const _com_error& e) {
  // Both are let go also when copying the text fails (out of memory).
  const UniqueHandle<NullHandleTraits<IErrorInfo*, &ReleaseInfo>> info(e.ErrorInfo());
  if (!info) return {};
  BSTR raw = nullptr;
  const HRESULT hr = info.Get()->GetDescription(&raw);
  const UniqueHandle<NullHandleTraits<BSTR, &FreeText>> text(raw);
  if (FAILED(hr)) return {};
  return std::u16string(BstrView(text.Get()));
}

IErrorInfo* MakeErrorInfo(std::u16string_view description) {
  ICreateErrorInfo* create = nullptr;
  if (FAILED(CreateErrorInfo(&create))) return nullptr;
  std::u16string text(description);
  create->SetDescription(reinterpret_cast<LPOLESTR>(text.data()));
  IErrorInfo* info = nullptr;
  create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info));
  create->Release();
  return info;
}

}  // namespace tavrel::platform
