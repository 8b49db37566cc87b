#include "tools/xmlprofile/XmlProfileTool.h"

#include "platform/File.h"
#include "platform/Text.h"
#include "tools/xmlprofile/ProfileJson.h"
#include "tools/xmlprofile/ToolArguments.h"
#include "xml/XmlParser.h"
#include "xml/XmlProfile.h"

namespace tavrel::tools {

namespace {

constexpr int kDone = 0;
constexpr int kRefused = 1;
constexpr int kFailed = 2;

constexpr const char* kUsage =
    "usage: xmlprofile dump|tree FILE | get FILE SECTION KEY | set FILE SECTION KEY VALUE | "
    "unset FILE SECTION [KEY]  [--mode auto|ansi|utf16]";

ToolOutcome Fail(const std::string& message) { return {kFailed, {}, "xmlprofile: " + message + "\n"}; }

ToolOutcome Json(const nlohmann::json& document) { return {kDone, document.dump(2) + "\n", {}}; }

bool Exists(const std::u16string& path) { return platform::Access(path, 0) == 0; }

// Whether the file can be opened the way the reader opens it.
bool Readable(const std::u16string& path) {
  return platform::File::Open(path, platform::FileAccess::Read, platform::kShareRead | platform::kShareWrite,
                              platform::FileDisposition::OpenExisting)
      .IsOpen();
}

std::string Quoted(const std::u16string& path) { return "\"" + text::ToUtf8(path) + "\""; }

// Loads an existing file for a change; an absent file gives an empty profile.
// Refuses files whose content would be lost by the save that follows.
std::optional<ToolOutcome> LoadForChange(xml::CXmlProfile& profile, const std::u16string& path,
                                         xml::ProfileEncoding mode) {
  if (!Exists(path)) return std::nullopt;
  if (!Readable(path)) return Fail("cannot read " + Quoted(path));
  xml::CXmlParser parser;
  if (parser.LoadFile(path, mode) != 0 && parser.GetRoot()->Name() != u"profile") {
    return Fail(Quoted(path) + " is not a profile file; left unchanged");
  }
  if (profile.Load(path.c_str(), mode) == 0 && !profile.Sections().empty()) {
    return Fail(Quoted(path) + " repeats a section name; left unchanged");
  }
  return std::nullopt;
}

ToolOutcome Save(xml::CXmlProfile& profile, const std::u16string& path, xml::ProfileEncoding mode) {
  if (profile.Save(path.c_str(), mode) == 0) return Fail("cannot write " + Quoted(path));
  return {kDone, {}, {}};
}

ToolOutcome Dump(const std::u16string& path, xml::ProfileEncoding mode) {
  if (!Readable(path)) return Fail("cannot read " + Quoted(path));
  xml::CXmlProfile profile;
  const int result = profile.Load(path.c_str(), mode);
  return Json({{"result", result}, {"sections", SectionsToJson(profile)}});
}

ToolOutcome Tree(const std::u16string& path, xml::ProfileEncoding mode) {
  if (!Readable(path)) return Fail("cannot read " + Quoted(path));
  xml::CXmlParser parser;
  const int result = parser.LoadFile(path, mode);
  return Json({{"result", result}, {"root", TreeToJson(*parser.GetRoot())}});
}

ToolOutcome Get(const std::vector<std::u16string>& a, xml::ProfileEncoding mode) {
  if (!Readable(a[1])) return Fail("cannot read " + Quoted(a[1]));
  xml::CXmlProfile profile;
  profile.Load(a[1].c_str(), mode);
  const xml::ProfileKey* key = profile.FindKey(profile.FindSection(a[2].c_str()), a[3].c_str());
  if (key == nullptr) return {kRefused, {}, {}};
  return {kDone, text::ToUtf8(key->value) + "\n", {}};
}

ToolOutcome Set(const std::vector<std::u16string>& a, xml::ProfileEncoding mode) {
  // An empty value would be kept in memory but never written.
  if (a[2].empty() || a[3].empty() || a[4].empty()) return Fail("SECTION, KEY and VALUE must not be empty");
  xml::CXmlProfile profile;
  if (std::optional<ToolOutcome> refused = LoadForChange(profile, a[1], mode)) return *refused;
  if (profile.SetString(a[2].c_str(), a[3].c_str(), a[4].c_str()) == 0) {
    return {kRefused, {}, "xmlprofile: the entry is read-only\n"};
  }
  return Save(profile, a[1], mode);
}

ToolOutcome Unset(const std::vector<std::u16string>& a, xml::ProfileEncoding mode) {
  xml::CXmlProfile profile;
  if (std::optional<ToolOutcome> refused = LoadForChange(profile, a[1], mode)) return *refused;
  xml::ProfileSection* section = profile.FindSection(a[2].c_str());
  const bool wholeSection = a.size() == 3;
  xml::ProfileKey* key = wholeSection ? nullptr : profile.FindKey(section, a[3].c_str());
  if (section == nullptr || (!wholeSection && key == nullptr)) return {kDone, {}, {}};  // nothing to remove
  if (section->readOnly != 0 || (key != nullptr && key->readOnly != 0)) {
    return {kRefused, {}, "xmlprofile: the entry is read-only\n"};
  }
  profile.SetKeyValue(section, wholeSection ? nullptr : a[3].c_str(), nullptr, 0);
  return Save(profile, a[1], mode);
}

}  // namespace

ToolOutcome RunXmlProfile(const std::vector<std::u16string>& args) {
  std::string error;
  const std::optional<ToolArguments> parsed = ParseToolArguments(args, error);
  if (!parsed) return Fail(error);
  const std::vector<std::u16string>& a = parsed->positional;
  const std::u16string command = a.empty() ? std::u16string() : a[0];
  if ((command == u"dump" || command == u"tree") && a.size() == 2) {
    return command == u"dump" ? Dump(a[1], parsed->mode) : Tree(a[1], parsed->mode);
  }
  if (command == u"get" && a.size() == 4) return Get(a, parsed->mode);
  if (command == u"set" && a.size() == 5) return Set(a, parsed->mode);
  if (command == u"unset" && (a.size() == 3 || a.size() == 4)) return Unset(a, parsed->mode);
  return {kFailed, {}, std::string(kUsage) + "\n"};
}

}  // namespace tavrel::tools
