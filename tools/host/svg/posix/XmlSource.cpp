// XML events from libxml2's streaming reader.
#include "tools/host/svg/XmlSource.h"

#include <libxml/xmlreader.h>

#include <stdexcept>

namespace tavrel::hostmodel {
namespace {

std::string Text(const xmlChar* s) { return s == nullptr ? std::string() : reinterpret_cast<const char*>(s); }

class LibXmlSource final : public XmlSource {
 public:
  explicit LibXmlSource(const std::filesystem::path& file)
      : reader_(xmlReaderForFile(file.string().c_str(), nullptr,
                                 XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR)),
        file_(file.string()) {
    if (reader_ == nullptr) throw std::runtime_error("cannot open " + file_);
  }
  ~LibXmlSource() override { xmlFreeTextReader(reader_); }
  LibXmlSource(const LibXmlSource&) = delete;
  LibXmlSource& operator=(const LibXmlSource&) = delete;

  bool Next(XmlEvent& event) override {
    if (pendingEnd_) {
      pendingEnd_ = false;
      event = XmlEvent{false, pendingName_, {}};
      return true;
    }
    for (;;) {
      const int read = xmlTextReaderRead(reader_);
      if (read == 0) return false;
      if (read < 0) throw std::runtime_error(file_ + " is not well-formed XML");
      const int type = xmlTextReaderNodeType(reader_);
      if (type == XML_READER_TYPE_ELEMENT) {
        event.start = true;
        event.name = Text(xmlTextReaderConstLocalName(reader_));
        event.attributes.clear();
        const bool empty = xmlTextReaderIsEmptyElement(reader_) == 1;
        while (xmlTextReaderMoveToNextAttribute(reader_) == 1) {
          event.attributes.emplace_back(Text(xmlTextReaderConstLocalName(reader_)),
                                        Text(xmlTextReaderConstValue(reader_)));
        }
        pendingEnd_ = empty;
        pendingName_ = event.name;
        return true;
      }
      if (type == XML_READER_TYPE_END_ELEMENT) {
        event.start = false;
        event.name = Text(xmlTextReaderConstLocalName(reader_));
        event.attributes.clear();
        return true;
      }
    }
  }

 private:
  xmlTextReaderPtr reader_;
  std::string file_;
  // An empty element gives its end right after its start.
  bool pendingEnd_ = false;
  std::string pendingName_;
};

}  // namespace

std::unique_ptr<XmlSource> OpenXml(const std::filesystem::path& file) {
  return std::make_unique<LibXmlSource>(file);
}

}  // namespace tavrel::hostmodel
