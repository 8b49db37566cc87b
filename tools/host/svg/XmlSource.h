// The few things the SVG reader needs from an XML parser: start and end of
// each element with its attributes, and the text (CDATA included) between. libxml2's reader natively, XmlLite
// on Windows (svg/posix/XmlSource.cpp, svg/win32/XmlSource.cpp).
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tavrel::hostmodel {

struct XmlEvent {
  bool start = false;                                           // else the end of an element
  std::string name;                                             // local name
  std::vector<std::pair<std::string, std::string>> attributes;  // local names, UTF-8
  bool text = false;                                            // text, not a start or an end
  std::string content;                                          // the text, UTF-8
};

class XmlSource {
 public:
  virtual ~XmlSource() = default;
  // The next element start or end, or text; false at the end of the document. A
  // malformed document throws std::runtime_error.
  virtual bool Next(XmlEvent& event) = 0;
};

// Throws std::runtime_error when the file cannot be opened.
std::unique_ptr<XmlSource> OpenXml(const std::filesystem::path& file);

}  // namespace tavrel::hostmodel
