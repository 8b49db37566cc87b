// XML events from libxml2's streaming reader. A document type declaration
// is read with its internal entities; nothing outside the file is loaded:
// no network (XML_PARSE_NONET), no external DTD (no XML_PARSE_DTDLOAD), no
// external entity substituted (no XML_PARSE_NOENT).
#include "tools/host/svg/XmlSource.h"

#include <libxml/xmlreader.h>

#include <stdexcept>

#include "platform/UniqueHandle.h"
#include "tools/host/model/FilePath.h"

namespace tavrel::hostmodel {
namespace {

std::string Text(const xmlChar* s) { return s == nullptr ? std::string() : reinterpret_cast<const char*>(s); }

using Reader = platform::UniqueHandle<platform::NullHandleTraits<xmlTextReaderPtr, &xmlFreeTextReader>>;

class LibXmlSource final : public XmlSource {
 public:
  explicit LibXmlSource(const std::filesystem::path& file)
      : reader_(xmlReaderForFile(PathText(file).c_str(), nullptr, kOptions)) {
    if (!reader_) throw std::runtime_error("cannot open the file");
    xmlTextReaderSetStructuredErrorHandler(reader_.Get(), &LibXmlSource::OnError, this);
  }
  LibXmlSource(const LibXmlSource&) = delete;
  LibXmlSource& operator=(const LibXmlSource&) = delete;

  bool Next(XmlEvent& event) override {
    if (pendingEnd_) {
      pendingEnd_ = false;
      event = XmlEvent{false, pendingName_, {}, false, {}};
      return true;
    }
    for (;;) {
      const int read = xmlTextReaderRead(reader_.Get());
      if (read == 0) return false;
      if (read < 0)
        throw std::runtime_error("not well-formed XML" + (error_.empty() ? std::string() : ": " + error_));
      const int type = xmlTextReaderNodeType(reader_.Get());
      if (type == XML_READER_TYPE_ELEMENT) {
        event.start = true;
        event.text = false;
        event.name = Text(xmlTextReaderConstLocalName(reader_.Get()));
        event.attributes.clear();
        const bool empty = xmlTextReaderIsEmptyElement(reader_.Get()) == 1;
        while (xmlTextReaderMoveToNextAttribute(reader_.Get()) == 1) {
          event.attributes.emplace_back(Text(xmlTextReaderConstLocalName(reader_.Get())),
                                        Text(xmlTextReaderConstValue(reader_.Get())));
        }
        pendingEnd_ = empty;
        pendingName_ = event.name;
        return true;
      }
      if (type == XML_READER_TYPE_TEXT || type == XML_READER_TYPE_CDATA) {
        event = XmlEvent{false, {}, {}, true, Text(xmlTextReaderConstValue(reader_.Get()))};
        return true;
      }
      if (type == XML_READER_TYPE_END_ELEMENT) {
        event.start = false;
        event.text = false;
        event.name = Text(xmlTextReaderConstLocalName(reader_.Get()));
        event.attributes.clear();
        return true;
      }
    }
  }

 private:
  static constexpr int kOptions = XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR;

  // Keeps the first error's message and line.
  static void OnError(void* self, xmlErrorPtr error) {
    auto* source = static_cast<LibXmlSource*>(self);
    if (!source->error_.empty() || error == nullptr || error->level < XML_ERR_ERROR) return;
    std::string message = error->message == nullptr ? "" : error->message;
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
    source->error_ = "line " + std::to_string(error->line) + ": " + message;
  }

  Reader reader_;
  std::string error_;
  // An empty element gives its end right after its start.
  bool pendingEnd_ = false;
  std::string pendingName_;
};

}  // namespace

std::unique_ptr<XmlSource> OpenXml(const std::filesystem::path& file) {
  return std::make_unique<LibXmlSource>(file);
}

}  // namespace tavrel::hostmodel
