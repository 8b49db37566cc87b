// Load -> Save -> Load must give the same profile: every loaded name and
// value survives the escaping writer and the reader. UTF-16 always; the ANSI
// code page too when the profile was read in it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/Text.h"
#include "tests/fuzz/FuzzFiles.h"
#include "xml/XmlProfile.h"

namespace {

using tavrel::xml::CXmlProfile;
using tavrel::xml::ProfileEncoding;

bool Same(const CXmlProfile& a, const CXmlProfile& b) {
  const auto& sa = a.Sections();
  const auto& sb = b.Sections();
  if (sa.size() != sb.size()) return false;
  for (auto i = sa.begin(), j = sb.begin(); i != sa.end(); ++i, ++j) {
    if (i->name != j->name || (i->readOnly != 0) != (j->readOnly != 0) || i->keys.size() != j->keys.size()) {
      return false;
    }
    for (auto k = i->keys.begin(), l = j->keys.begin(); k != i->keys.end(); ++k, ++l) {
      if (k->name != l->name || k->value != l->value || (k->readOnly != 0) != (l->readOnly != 0))
        return false;
    }
  }
  return true;
}

void RoundTrip(CXmlProfile& loaded, ProfileEncoding mode) {
  const std::u16string path = tavrel::fuzz::ScratchPath("saved.xml");
  if (loaded.Save(path.c_str(), mode) == 0) {
    std::fprintf(stderr, "Save failed in mode %d\n", static_cast<int>(mode));
    std::abort();
  }
  CXmlProfile reloaded;
  const int result = reloaded.Load(path.c_str(), mode);
  if (result != 1 || !Same(loaded, reloaded)) {
    std::fprintf(stderr, "round trip in mode %d changed the profile\n", static_cast<int>(mode));
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string path = tavrel::fuzz::WriteScratch("source.xml", data, size);
  for (auto mode : {ProfileEncoding::Auto, ProfileEncoding::Ansi, ProfileEncoding::Utf16}) {
    CXmlProfile loaded;
    loaded.Load(path.c_str(), mode);
    RoundTrip(loaded, ProfileEncoding::Utf16);
    if (mode == ProfileEncoding::Ansi) RoundTrip(loaded, ProfileEncoding::Ansi);
  }
  return 0;
}
