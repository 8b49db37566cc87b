// LoadFile and the profile's Load on arbitrary file bytes, in every mode.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzFiles.h"
#include "xml/XmlParser.h"
#include "xml/XmlProfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using tavrel::xml::ProfileEncoding;
  const std::u16string path = tavrel::fuzz::WriteScratch("load.xml", data, size);
  for (auto mode : {ProfileEncoding::Auto, ProfileEncoding::Ansi, ProfileEncoding::Utf16,
                    static_cast<ProfileEncoding>(-3)}) {
    tavrel::xml::CXmlParser parser;
    parser.LoadFile(path, mode);
    tavrel::xml::CXmlProfile profile;
    profile.Load(path.c_str(), mode);
    profile.GetInt(u"General", u"EmbAppType", 0);
  }
  return 0;
}
