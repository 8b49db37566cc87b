// XML events from XmlLite, which Windows (and Wine) provide as xmllite.dll;
// it is loaded at run time because mingw-w64 ships no import library for it.
// A document type declaration is read with its internal entities (their
// expansion bounded); nothing outside the file is loaded: no resolver is
// set, so external entities and DTDs stay unread.
#include "tools/host/svg/XmlSource.h"

#include <shlwapi.h>
#include <windows.h>
#include <xmllite.h>

#include <cstdio>
#include <stdexcept>

#include "host/ComPtr.h"
#include "platform/Text.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace tavrel::hostmodel {
namespace {

const IID kIidXmlReader = {0x7279fc81, 0x709d, 0x4095, {0xb6, 0x3d, 0x69, 0xfe, 0x4b, 0x0d, 0x90, 0x30}};
using CreateXmlReaderFn = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);

std::string Utf8(const wchar_t* s, UINT length) {
  return text::ToUtf8(platform::win32::FromWide(std::wstring_view(s, length)));
}

class XmlLiteSource final : public XmlSource {
 public:
  explicit XmlLiteSource(const std::filesystem::path& file) {
    library_.Reset(LoadLibraryW(L"xmllite.dll"));
    auto create = library_.Get() == nullptr ? nullptr
                                            : reinterpret_cast<CreateXmlReaderFn>(reinterpret_cast<void*>(
                                                  GetProcAddress(library_.Get(), "CreateXmlReader")));
    if (create == nullptr) throw std::runtime_error("xmllite.dll is not available");
    if (FAILED(SHCreateStreamOnFileW(file.wstring().c_str(), STGM_READ | STGM_SHARE_DENY_WRITE,
                                     stream_.Put()))) {
      throw std::runtime_error("cannot open the file");
    }
    if (FAILED(create(kIidXmlReader, reinterpret_cast<void**>(reader_.Put()), nullptr)) ||
        FAILED(reader_->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Parse)) ||
        FAILED(reader_->SetProperty(XmlReaderProperty_XmlResolver, 0)) ||
        FAILED(reader_->SetInput(stream_.Get()))) {
      throw std::runtime_error("cannot read the file");
    }
    // Windows bounds the expansion; Wine's reader has no such property (and
    // expands no entities).
    reader_->SetProperty(XmlReaderProperty_MaxEntityExpansion, kMaxEntityExpansion);
  }
  XmlLiteSource(const XmlLiteSource&) = delete;
  XmlLiteSource& operator=(const XmlLiteSource&) = delete;

  bool Next(XmlEvent& event) override {
    if (pendingEnd_) {
      pendingEnd_ = false;
      event = XmlEvent{false, pendingName_, {}, false, {}};
      return true;
    }
    XmlNodeType type = XmlNodeType_None;
    for (;;) {
      const HRESULT hr = reader_->Read(&type);
      if (hr == S_FALSE) return false;
      if (FAILED(hr)) throw std::runtime_error(Malformed(hr));
      if (type == XmlNodeType_Element || type == XmlNodeType_EndElement) break;
      if (type == XmlNodeType_Text || type == XmlNodeType_CDATA) {
        const wchar_t* value = nullptr;
        UINT length = 0;
        reader_->GetValue(&value, &length);
        event = XmlEvent{false, {}, {}, true, Utf8(value, length)};
        return true;
      }
    }
    event.start = type == XmlNodeType_Element;
    event.text = false;
    event.name = LocalName();
    event.attributes.clear();
    if (event.start) {
      pendingEnd_ = reader_->IsEmptyElement() != FALSE;
      pendingName_ = event.name;
      for (HRESULT hr = reader_->MoveToFirstAttribute(); hr == S_OK; hr = reader_->MoveToNextAttribute()) {
        const wchar_t* value = nullptr;
        UINT length = 0;
        reader_->GetValue(&value, &length);
        event.attributes.emplace_back(LocalName(), Utf8(value, length));
      }
    }
    return true;
  }

 private:
  static constexpr LONG_PTR kMaxEntityExpansion = 100000;

  // What was wrong, with the line it was found on.
  std::string Malformed(HRESULT hr) {
    UINT line = 0;
    reader_->GetLineNumber(&line);
    const std::string where = "line " + std::to_string(line) + ": ";
    // Wine's reader has no internal subsets of document type declarations.
    if (hr == E_NOTIMPL) return where + "this system's XML reader cannot read an internal DTD subset";
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    return "not well-formed XML: " + where + "error " + code;
  }

  std::string LocalName() {
    const wchar_t* name = nullptr;
    UINT length = 0;
    reader_->GetLocalName(&name, &length);
    return Utf8(name, length);
  }

  // Declared first so the reader and stream are released before it goes.
  platform::win32::ModuleHandle library_;
  host::ComPtr<IStream> stream_;
  host::ComPtr<IXmlReader> reader_;
  bool pendingEnd_ = false;
  std::string pendingName_;
};

}  // namespace

std::unique_ptr<XmlSource> OpenXml(const std::filesystem::path& file) {
  return std::make_unique<XmlLiteSource>(file);
}

}  // namespace tavrel::hostmodel
