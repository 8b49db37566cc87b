#include "tools/xmlprofile/XmlProfileTool.h"

#include "platform/ErrorText.h"
#include "platform/File.h"
#include "platform/Text.h"
#include "resources/Version.h"
#include "tools/xmlprofile/ProfileJson.h"
#include "tools/xmlprofile/ToolArguments.h"
#include "xml/XmlParser.h"
#include "xml/XmlProfile.h"

namespace tavrel::tools {

namespace {

constexpr const char* kUsage = R"(Usage: xmlprofile [OPTIONS] COMMAND FILE [ARGUMENTS]

Reads and edits profile files (<profile><section name=".."><key name=".."
value=".."/></section></profile>), such as TavrelSettings.xml.

Commands:
  dump FILE                      the profile as JSON: {"result": 1, "sections": [...]}
  tree FILE                      the element tree of the file as JSON
  get FILE SECTION KEY           prints the value of the key
  set FILE SECTION KEY VALUE     sets the key, creating the file or section
  unset FILE SECTION [KEY]       removes the key, or the whole section
  help                           this text
Section and key names are compared ignoring ASCII letter case.

Options:
  --mode MODE, --mode=MODE       how the file is read and written: auto (default:
                                 UTF-16 after the mark FF FE, else the ANSI code
                                 page; written as UTF-16), ansi or utf16
  -h, --help                     this text (also /? on Windows)
  --version                      the version
  --                             ends the options; what follows is positional

Exit status:
  0  done
  1  get or unset found no such section or key; set or unset met a read-only entry
  2  bad usage; a file that cannot be read or written (the reason is given) or
     that is not a profile in the given mode

Example:
  xmlprofile set TavrelSettings.xml General EmbAppType 2
  xmlprofile get TavrelSettings.xml general embapptype     # prints 2
)";

constexpr const char* kTryHelp = " (see xmlprofile --help)";

ToolOutcome Fail(const std::string& message) { return {kFailed, {}, "xmlprofile: " + message + "\n"}; }

ToolOutcome Json(const nlohmann::json& document) { return {kDone, document.dump(2) + "\n", {}}; }

bool Exists(const std::u16string& path) { return platform::Access(path, 0) == 0; }

std::string Quoted(const std::u16string& path) { return "\"" + text::ToUtf8(path) + "\""; }

// "cannot read "FILE": file not found", from the code the failed call left.
ToolOutcome FileFailure(const char* what, const std::u16string& path, uint32_t code) {
  const std::string reason = code == 0 ? "failed" : platform::FileErrorText(path, code);
  return Fail(std::string(what) + " " + Quoted(path) + ": " + reason);
}

const char* ModeName(xml::ProfileEncoding mode) {
  switch (mode) {
    case xml::ProfileEncoding::Ansi:
      return "ansi";
    case xml::ProfileEncoding::Utf16:
      return "utf16";
    default:
      return "auto";
  }
}

// Reads the file into `parser` and checks that it holds a profile in the
// mode. Text that decodes to nothing (an empty file) is an empty profile.
std::optional<ToolOutcome> ReadProfile(xml::CXmlParser& parser, const std::u16string& path,
                                       xml::ProfileEncoding mode, const char* consequence) {
  platform::File file =
      platform::File::Open(path, platform::FileAccess::Read, platform::kShareRead | platform::kShareWrite,
                           platform::FileDisposition::OpenExisting);
  if (!file) return FileFailure("cannot read", path, platform::LastError());
  file.Close();
  if (parser.LoadFile(path, mode) != 0 && parser.GetRoot()->Name() != u"profile") {
    return Fail(Quoted(path) + " is not a profile file in mode " + ModeName(mode) + consequence);
  }
  return std::nullopt;
}

// Loads an existing file for a change; an absent file gives an empty profile.
// Refuses files whose content would be lost by the save that follows.
std::optional<ToolOutcome> LoadForChange(xml::CXmlProfile& profile, const std::u16string& path,
                                         xml::ProfileEncoding mode) {
  if (!Exists(path)) return std::nullopt;
  xml::CXmlParser parser;
  if (std::optional<ToolOutcome> failure = ReadProfile(parser, path, mode, "; left unchanged"))
    return failure;
  if (profile.Load(path.c_str(), mode) == 0 && !profile.Sections().empty()) {
    return Fail(Quoted(path) + " repeats a section name; left unchanged");
  }
  return std::nullopt;
}

ToolOutcome Save(xml::CXmlProfile& profile, const std::u16string& path, xml::ProfileEncoding mode) {
  platform::SetLastError(0);
  if (profile.Save(path.c_str(), mode) == 0) return FileFailure("cannot write", path, platform::LastError());
  return {kDone, {}, {}};
}

ToolOutcome Dump(const std::u16string& path, xml::ProfileEncoding mode) {
  xml::CXmlParser parser;
  if (std::optional<ToolOutcome> failure = ReadProfile(parser, path, mode, "")) return *failure;
  xml::CXmlProfile profile;
  const int result = profile.Load(path.c_str(), mode);
  return Json({{"result", result}, {"sections", SectionsToJson(profile)}});
}

ToolOutcome Tree(const std::u16string& path, xml::ProfileEncoding mode) {
  xml::CXmlParser parser;
  if (std::optional<ToolOutcome> failure = ReadProfile(parser, path, mode, "")) return *failure;
  const int result = parser.GetRoot()->Name().empty() ? 0 : 1;
  return Json({{"result", result}, {"root", TreeToJson(*parser.GetRoot())}});
}

ToolOutcome Get(const std::vector<std::u16string>& a, xml::ProfileEncoding mode) {
  xml::CXmlParser parser;
  if (std::optional<ToolOutcome> failure = ReadProfile(parser, a[1], mode, "")) return *failure;
  xml::CXmlProfile profile;
  profile.Load(a[1].c_str(), mode);
  const xml::ProfileKey* key = profile.FindKey(profile.FindSection(a[2].c_str()), a[3].c_str());
  if (key == nullptr) return {kAbsentOrRefused, {}, {}};
  return {kDone, text::ToUtf8(key->value) + "\n", {}};
}

ToolOutcome Set(const std::vector<std::u16string>& a, xml::ProfileEncoding mode) {
  // An empty value would be kept in memory but never written.
  if (a[2].empty() || a[3].empty() || a[4].empty()) return Fail("SECTION, KEY and VALUE must not be empty");
  xml::CXmlProfile profile;
  if (std::optional<ToolOutcome> refused = LoadForChange(profile, a[1], mode)) return *refused;
  if (profile.SetString(a[2].c_str(), a[3].c_str(), a[4].c_str()) == 0) {
    return {kAbsentOrRefused, {}, "xmlprofile: the entry is read-only\n"};
  }
  return Save(profile, a[1], mode);
}

ToolOutcome Unset(const std::vector<std::u16string>& a, xml::ProfileEncoding mode) {
  xml::CXmlProfile profile;
  if (std::optional<ToolOutcome> refused = LoadForChange(profile, a[1], mode)) return *refused;
  xml::ProfileSection* section = profile.FindSection(a[2].c_str());
  const bool wholeSection = a.size() == 3;
  xml::ProfileKey* key = wholeSection ? nullptr : profile.FindKey(section, a[3].c_str());
  // Nothing to remove, as get finds nothing: the file stays as it is.
  if (section == nullptr || (!wholeSection && key == nullptr)) return {kAbsentOrRefused, {}, {}};
  if (section->readOnly != 0 || (key != nullptr && key->readOnly != 0)) {
    return {kAbsentOrRefused, {}, "xmlprofile: the entry is read-only\n"};
  }
  profile.SetKeyValue(section, wholeSection ? nullptr : a[3].c_str(), nullptr, 0);
  return Save(profile, a[1], mode);
}

// The one-line complaint about the arguments of a known command.
std::string CommandUsage(const std::u16string& command) {
  if (command == u"dump" || command == u"tree") return text::ToUtf8(command) + " takes FILE";
  if (command == u"get") return "get takes FILE SECTION KEY";
  if (command == u"set") return "set takes FILE SECTION KEY VALUE";
  if (command == u"unset") return "unset takes FILE SECTION [KEY]";
  if (command.empty()) return "no command given";
  return "unknown command \"" + text::ToUtf8(command) + "\"";
}

}  // namespace

const char* XmlProfileUsage() { return kUsage; }

ToolOutcome RunXmlProfile(const std::vector<std::u16string>& args) {
  std::string error;
  const std::optional<ToolArguments> parsed = ParseToolArguments(args, error);
  if (!parsed) return Fail(error + kTryHelp);
  if (parsed->help) return {kDone, kUsage, {}};
  if (parsed->version) return {kDone, std::string("xmlprofile ") + kVersion + "\n", {}};
  const std::vector<std::u16string>& a = parsed->positional;
  const std::u16string command = a.empty() ? std::u16string() : a[0];
  if ((command == u"dump" || command == u"tree") && a.size() == 2) {
    return command == u"dump" ? Dump(a[1], parsed->mode) : Tree(a[1], parsed->mode);
  }
  if (command == u"get" && a.size() == 4) return Get(a, parsed->mode);
  if (command == u"set" && a.size() == 5) return Set(a, parsed->mode);
  if (command == u"unset" && (a.size() == 3 || a.size() == 4)) return Unset(a, parsed->mode);
  return Fail(CommandUsage(command) + kTryHelp);
}

}  // namespace tavrel::tools
