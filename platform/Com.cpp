#include "platform/Com.h"

namespace tavrel::platform {

void ThrowComError(HRESULT hr, IErrorInfo* info) { throw _com_error(hr, info, false); }

HRESULT ErrorCode(const _com_error& e) { return e.Error(); }

std::u16string ErrorDescription(const _com_error& e) {
  IErrorInfo* info = e.ErrorInfo();
  if (info == nullptr) return {};
  BSTR text = nullptr;
  std::u16string description;
  if (SUCCEEDED(info->GetDescription(&text))) description = std::u16string(BstrView(text));
  SysFreeString(text);
  info->Release();
  return description;
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
