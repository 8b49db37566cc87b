#include "tests/xml/ProfileFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/Text.h"

namespace tavrel::xml::testing {

CXmlProfile& FillSettings(CXmlProfile& profile) {
  profile.SetInt(u"General", u"EmbAppType", 1);
  profile.SetInt(u"General", u"ExportType", 0);
  profile.SetInt(u"General", u"OptimiseCurves", 1);
  return profile;
}

std::string Golden(const char* name) {
  std::ifstream in(std::filesystem::path(TAVREL_SOURCE_DIR) / "tests" / "xml" / "golden" / name,
                   std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Describe(const CXmlProfile& profile) {
  std::string out;
  for (const ProfileSection& s : profile.Sections()) {
    out += text::ToUtf8(s.name) + (s.readOnly != 0 ? "(ro)" : "") + "[";
    for (const ProfileKey& k : s.keys) {
      out += text::ToUtf8(k.name) + "=" + text::ToUtf8(k.value) + (k.readOnly != 0 ? "(ro)" : "") + ";";
    }
    out += "]";
  }
  return out;
}

platform::File HoldWithoutSharing(const std::u16string& path) {
  return platform::File::Open(path, platform::FileAccess::ReadWrite, platform::kShareNone,
                              platform::FileDisposition::OpenExisting);
}

std::string FolderListing(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  std::string out;
  for (const std::string& n : names) out += n + " ";
  return out;
}

}  // namespace tavrel::xml::testing
