#include "bench/ProfileShapes.h"

#include <map>

#include "bench/BenchFiles.h"
#include "bench/ProfileDocument.h"
#include "xml/XmlProfile.h"

namespace tavrel::bench {

namespace {

std::filesystem::path LongValueFile() {
  const std::filesystem::path path = ScratchFolder() / "value200k.xml";
  if (std::filesystem::exists(path)) return path;
  std::u16string value;
  while (value.size() < 200000) value += u"C:\\Users\\Designer\\Stitch & Colors <draft> ";
  value.resize(200000);
  xml::CXmlProfile profile;
  profile.SetString(u"General", u"EmbAppType", u"1");
  profile.SetString(u"Recent", u"Files", value.c_str());
  profile.Save(path.u16string().c_str(), xml::ProfileEncoding::Utf16);
  return path;
}

}  // namespace

const std::u16string& SavedProfile(std::pair<size_t, size_t> shape) {
  static std::map<std::pair<size_t, size_t>, std::u16string> files;
  auto found = files.find(shape);
  if (found != files.end()) return found->second;
  xml::CXmlProfile profile;
  FillProfile(profile, shape.first, shape.second);
  const std::u16string path =
      (ScratchFolder() / ("p" + std::to_string(shape.first) + "x" + std::to_string(shape.second) + ".xml"))
          .u16string();
  profile.Save(path.c_str(), xml::ProfileEncoding::Utf16);
  return files[shape] = path;
}

FileShape FileShapeOf(std::string_view name) {
  FileShape shape{std::string(name), {}, {}};
  if (name == "settings") {
    shape.ours = std::filesystem::path(TAVREL_SOURCE_DIR) / "tests/xml/golden/settings-auto.xml";
  } else if (name == "ansi:1MB") {
    shape.ours = DocumentOfSize(1).ansiFile;
  } else if (name == "value:200KB") {
    shape.ours = LongValueFile();
  } else {
    const Document& document = DocumentOfSize(name.starts_with("document:10MB") ? 10 : 1);
    shape.ours = document.utf16File;
    if (name.ends_with("-utf8")) shape.pugixml = document.utf8File;
  }
  if (shape.pugixml.empty()) shape.pugixml = shape.ours;
  return shape;
}

std::vector<FileShape> AllShapes() {
  std::vector<FileShape> shapes;
  for (const auto& [sections, keys] :
       {std::pair<size_t, size_t>{2000, 3}, {20000, 3}, {200000, 3}, {1, 1000}, {1, 100000}}) {
    const std::string name =
        sections == 1 ? "keys:" + std::to_string(keys) : "sections:" + std::to_string(sections);
    const std::filesystem::path path = SavedProfile({sections, keys});
    shapes.push_back({name, path, path});
  }
  for (std::string_view name : kFileShapes) shapes.push_back(FileShapeOf(name));
  return shapes;
}

}  // namespace tavrel::bench
