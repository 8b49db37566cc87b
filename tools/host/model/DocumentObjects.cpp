// Documents, a document with its export to file, its page, shapes and the
// selection.
#include <filesystem>
#include <system_error>

#include "platform/Text.h"
#include "tools/host/emf/EmfExport.h"
#include "tools/host/model/FilePath.h"
#include "tools/host/model/HostObject.h"

namespace tavrel::hostmodel {
namespace {

using nlohmann::json;
using namespace host;

constexpr HRESULT kPathNotFound = platform::HResultFromWin32(platform::kErrorPathNotFound);

class Documents final : public HostObject<IHostDocuments> {
 public:
  using HostObject::HostObject;
  HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override {
    const allocation::HostWorks work;
    return Get("Documents.Count", json::array(), count, [&](LONG& out, json& r, auto&) {
      out = static_cast<LONG>(State().documents.size());
      r = out;
      return S_OK;
    });
  }
};

// Fails an operation on a document that has been closed since.
HRESULT Closed(std::u16string& error) {
  error = u"The document has been closed.";
  return E_FAIL;
}

class DocumentObject final : public HostObject<IHostDocument> {
 public:
  DocumentObject(std::shared_ptr<HostState> state, int serial)
      : HostObject(std::move(state)), serial_(serial) {}

  HRESULT STDMETHODCALLTYPE ExportToFile(BSTR path, LONG filter, LONG range, LONG reserved1, LONG reserved2,
                                         LONG* status) override {
    const allocation::HostWorks work;
    const std::u16string file(platform::BstrView(path));
    const json args = {Utf8(file), filter, range, reserved1, reserved2};
    return Get("Document.ExportToFile", args, status, [&](LONG& out, json& r, std::u16string& error) {
      const HRESULT hr = Export(file, filter, range, error);
      out = SUCCEEDED(hr) ? State().exportStatus : 0;
      if (SUCCEEDED(hr)) r = out;
      return hr;
    });
  }

 private:
  HRESULT Export(const std::u16string& file, LONG filter, LONG range, std::u16string& error) {
    const HostState::Document* document = State().Find(serial_);
    if (document == nullptr) return Closed(error);
    if (filter != kFilterEmf) {
      error = u"Export filter " + text::FormatInt(filter) +
              u" is not supported; this host exports filter 1300 (enhanced metafile) only.";
      return E_INVALIDARG;
    }
    std::vector<const Shape*> shapes;
    const auto& all = document->drawing.page.shapes;
    if (range == kRangeAllOnPage) {
      for (const Shape& shape : all) shapes.push_back(&shape);
    } else if (range == kRangeSelection) {
      if (document != State().Active() || State().selection.empty()) {
        error = u"There is no selection to export.";
        return E_FAIL;
      }
      for (std::size_t index : State().selection) shapes.push_back(&all[index]);
    } else {
      error = u"Export range " + text::FormatInt(range) + u" is not supported (1 page, 2 selection).";
      return E_INVALIDARG;
    }
    if (file.empty()) {
      error = u"The export path is empty.";
      return E_INVALIDARG;
    }
    const std::filesystem::path target = FileSystemPath(file);
    std::error_code ec;
    if (!std::filesystem::is_directory(target.parent_path(), ec)) {
      error = u"Cannot export to " + file + u": the folder does not exist.";
      return kPathNotFound;
    }
    if (!State().exportWrites) return S_OK;
    try {
      WriteEmf(target, document->drawing.page, shapes);
    } catch (const DrawingLimitError& e) {
      error = u"Cannot export to " + file + u": " + text::FromUtf8(e.what());
      return E_INVALIDARG;
    } catch (const std::exception& e) {
      error = u"Cannot export to " + file + u": " + text::FromUtf8(e.what());
      return E_ACCESSDENIED;
    }
    return S_OK;
  }

  int serial_;
};

class PageObject final : public HostObject<IHostPage> {
 public:
  PageObject(std::shared_ptr<HostState> state, int serial) : HostObject(std::move(state)), serial_(serial) {}
  HRESULT STDMETHODCALLTYPE get_Shapes(IHostShapes** shapes) override {
    const allocation::HostWorks work;
    return Get("Page.Shapes", json::array(), shapes, [&](IHostShapes*& out, json& r, std::u16string& error) {
      if (State().Find(serial_) == nullptr) return Closed(error);
      out = NewShapes(SharedState(), serial_, false);
      r = "IHostShapes";
      return S_OK;
    });
  }

 private:
  int serial_;
};

class ShapesObject final : public HostObject<IHostShapes> {
 public:
  ShapesObject(std::shared_ptr<HostState> state, int serial, bool selectedOnly)
      : HostObject(std::move(state)), serial_(serial), selectedOnly_(selectedOnly) {}
  HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override {
    const allocation::HostWorks work;
    return Get("Shapes.Count", json::array(), count, [&](LONG& out, json& r, std::u16string& error) {
      const HostState::Document* document = State().Find(serial_);
      if (selectedOnly_) {
        out = document != nullptr && document == State().Active()
                  ? static_cast<LONG>(State().selection.size())
                  : 0;
      } else {
        if (document == nullptr) return Closed(error);
        out = static_cast<LONG>(document->drawing.page.shapes.size());
      }
      r = out;
      return S_OK;
    });
  }

 private:
  int serial_;
  bool selectedOnly_;
};

class Selection final : public HostObject<IHostSelection> {
 public:
  using HostObject::HostObject;
  HRESULT STDMETHODCALLTYPE get_Shapes(IHostShapes** shapes) override {
    const allocation::HostWorks work;
    return Get("Selection.Shapes", json::array(), shapes, [&](IHostShapes*& out, json& r, auto&) {
      const HostState::Document* active = State().Active();
      out = NewShapes(SharedState(), active == nullptr ? 0 : active->serial, true);
      r = "IHostShapes";
      return S_OK;
    });
  }
};

}  // namespace

IHostDocuments* NewDocuments(std::shared_ptr<HostState> state) { return new Documents(std::move(state)); }
IHostDocument* NewDocument(std::shared_ptr<HostState> state, int serial) {
  return new DocumentObject(std::move(state), serial);
}
IHostPage* NewPage(std::shared_ptr<HostState> state, int serial) {
  return new PageObject(std::move(state), serial);
}
IHostShapes* NewShapes(std::shared_ptr<HostState> state, int serial, bool selectedOnly) {
  return new ShapesObject(std::move(state), serial, selectedOnly);
}
IHostSelection* NewSelection(std::shared_ptr<HostState> state) { return new Selection(std::move(state)); }

}  // namespace tavrel::hostmodel
