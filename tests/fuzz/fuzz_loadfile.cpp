// LoadFile and the profile's Load on arbitrary file bytes, in every mode;
// Load read two bytes at a time must come to the same as read whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "tests/fuzz/FuzzFiles.h"
#include "xml/XmlParser.h"
#include "xml/XmlProfile.h"

namespace {

bool SameSections(const tavrel::xml::CXmlProfile& a, const tavrel::xml::CXmlProfile& b) {
  const auto& sa = a.Sections();
  const auto& sb = b.Sections();
  if (sa.size() != sb.size()) return false;
  for (auto i = sa.begin(), j = sb.begin(); i != sa.end(); ++i, ++j) {
    if (i->name != j->name || i->readOnly != j->readOnly || i->keys.size() != j->keys.size()) return false;
    for (auto k = i->keys.begin(), l = j->keys.begin(); k != i->keys.end(); ++k, ++l) {
      if (k->name != l->name || k->value != l->value || k->readOnly != l->readOnly) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using tavrel::xml::ProfileEncoding;
  const std::u16string path = tavrel::fuzz::WriteScratch("load.xml", data, size);
  for (auto mode : {ProfileEncoding::Auto, ProfileEncoding::Ansi, ProfileEncoding::Utf16,
                    static_cast<ProfileEncoding>(-3)}) {
    tavrel::xml::CXmlParser parser;
    parser.LoadFile(path, mode);
    tavrel::xml::CXmlProfile profile;
    const tavrel::xml::ProfileResult whole = profile.LoadWithResult(path.c_str(), mode);
    profile.GetInt(u"General", u"EmbAppType", 0);
    tavrel::xml::CXmlProfile pieces;
    const tavrel::xml::ProfileResult split = pieces.LoadWithResult(path.c_str(), mode, 2);
    if (split.status != whole.status || split.line != whole.line || split.column != whole.column ||
        split.offset != whole.offset || !SameSections(profile, pieces)) {
      std::abort();
    }
  }
  return 0;
}
