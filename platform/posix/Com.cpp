#include "platform/Com.h"
#include "platform/ComObject.h"

#include <cstdlib>
#include <new>
#include <string>

const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IErrorInfo = {0x1CF2B120, 0x547D, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
const IID IID_ISupportErrorInfo = {
    0xDF0B3D60, 0x548F, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
const IID IID_ICreateErrorInfo = {
    0x22F03340, 0x547D, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
const IID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  // Layout as on Windows: a 32-bit byte count, the units, a terminating NUL.
  const size_t bytes = sizeof(uint32_t) + (static_cast<size_t>(length) + 1) * sizeof(OLECHAR);
  // The block is freed by SysFreeString, from the pointer past the count.
  auto* block = static_cast<unsigned char*>(std::malloc(bytes));  // NOLINT(cppcoreguidelines-no-malloc)
  if (block == nullptr) return nullptr;
  const auto byteCount = static_cast<uint32_t>(length * sizeof(OLECHAR));
  std::memcpy(block, &byteCount, sizeof byteCount);
  auto* units = reinterpret_cast<OLECHAR*>(block + sizeof(uint32_t));
  if (text != nullptr) {
    std::memcpy(units, text, length * sizeof(OLECHAR));
  } else {
    std::memset(units, 0, length * sizeof(OLECHAR));
  }
  units[length] = 0;
  return units;
}

BSTR SysAllocString(const OLECHAR* text) {
  if (text == nullptr) return nullptr;
  return SysAllocStringLen(text, static_cast<UINT>(std::char_traits<char16_t>::length(text)));
}

void SysFreeString(BSTR text) {
  if (text == nullptr) return;
  unsigned char* block = reinterpret_cast<unsigned char*>(text) - sizeof(uint32_t);
  std::free(block);  // NOLINT(cppcoreguidelines-no-malloc)
}

UINT SysStringLen(BSTR text) {
  if (text == nullptr) return 0;
  uint32_t byteCount = 0;
  std::memcpy(&byteCount, reinterpret_cast<unsigned char*>(text) - sizeof(uint32_t), sizeof byteCount);
  return byteCount / sizeof(OLECHAR);
}

void VariantInit(VARIANT* v) { std::memset(v, 0, sizeof *v); }

HRESULT VariantClear(VARIANT* v) {
  if (v == nullptr) return E_INVALIDARG;
  switch (v->vt) {
    case VT_BSTR:
      SysFreeString(v->bstrVal);
      break;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      if (v->punkVal != nullptr) v->punkVal->Release();
      break;
    default:
      break;
  }
  VariantInit(v);
  return S_OK;
}

namespace {

// Error information as a host creates it: a description and nothing else of
// interest.
class ErrorInfoObject final : public tavrel::platform::ComObject<IErrorInfo, ICreateErrorInfo> {
 public:
  HRESULT STDMETHODCALLTYPE GetGUID(GUID* guid) override {
    if (guid == nullptr) return E_POINTER;
    *guid = guid_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetSource(BSTR* source) override { return Copy(source_, source); }
  HRESULT STDMETHODCALLTYPE GetDescription(BSTR* description) override {
    return Copy(description_, description);
  }
  HRESULT STDMETHODCALLTYPE GetHelpFile(BSTR* helpFile) override { return Copy(helpFile_, helpFile); }
  HRESULT STDMETHODCALLTYPE GetHelpContext(DWORD* helpContext) override {
    if (helpContext == nullptr) return E_POINTER;
    *helpContext = helpContext_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetGUID(REFGUID guid) override {
    guid_ = guid;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSource(LPOLESTR source) override { return Set(source_, source); }
  HRESULT STDMETHODCALLTYPE SetDescription(LPOLESTR description) override {
    return Set(description_, description);
  }
  HRESULT STDMETHODCALLTYPE SetHelpFile(LPOLESTR helpFile) override { return Set(helpFile_, helpFile); }
  HRESULT STDMETHODCALLTYPE SetHelpContext(DWORD helpContext) override {
    helpContext_ = helpContext;
    return S_OK;
  }

 private:
  static HRESULT Copy(const std::u16string& from, BSTR* to) {
    if (to == nullptr) return E_POINTER;
    *to = SysAllocStringLen(from.data(), static_cast<UINT>(from.size()));
    return *to == nullptr ? E_OUTOFMEMORY : S_OK;
  }
  static HRESULT Set(std::u16string& field, LPOLESTR value) {
    field = value == nullptr ? std::u16string() : std::u16string(value);
    return S_OK;
  }
  void* Find(REFIID riid) override {
    if (riid == IID_IUnknown || riid == IID_IErrorInfo) return static_cast<IErrorInfo*>(this);
    if (riid == IID_ICreateErrorInfo) return static_cast<ICreateErrorInfo*>(this);
    return nullptr;
  }

  GUID guid_ = GUID_NULL;
  std::u16string source_, description_, helpFile_;
  DWORD helpContext_ = 0;
};

thread_local IErrorInfo* t_errorInfo = nullptr;

}  // namespace

HRESULT CreateErrorInfo(ICreateErrorInfo** out) {
  if (out == nullptr) return E_POINTER;
  auto* object = new (std::nothrow) ErrorInfoObject();
  *out = object;
  return object == nullptr ? E_OUTOFMEMORY : S_OK;
}

HRESULT SetErrorInfo(ULONG /*reserved*/, IErrorInfo* info) {
  if (info != nullptr) info->AddRef();
  if (t_errorInfo != nullptr) t_errorInfo->Release();
  t_errorInfo = info;
  return S_OK;
}

HRESULT GetErrorInfo(ULONG /*reserved*/, IErrorInfo** info) {
  if (info == nullptr) return E_POINTER;
  // Taking the information clears it from the thread, as on Windows.
  *info = t_errorInfo;
  t_errorInfo = nullptr;
  return *info == nullptr ? S_FALSE : S_OK;
}

_com_error::_com_error(HRESULT hr, IErrorInfo* info, bool addRef) : hr_(hr), info_(info) {
  if (info_ != nullptr && addRef) info_->AddRef();
}

_com_error::_com_error(const _com_error& other) : hr_(other.hr_), info_(other.info_) {
  if (info_ != nullptr) info_->AddRef();
}

_com_error& _com_error::operator=(const _com_error& other) {
  if (this != &other) {
    if (other.info_ != nullptr) other.info_->AddRef();
    if (info_ != nullptr) info_->Release();
    hr_ = other.hr_;
    info_ = other.info_;
  }
  return *this;
}

_com_error::~_com_error() {
  if (info_ != nullptr) info_->Release();
}

IErrorInfo* _com_error::ErrorInfo() const {
  if (info_ != nullptr) info_->AddRef();
  return info_;
}
