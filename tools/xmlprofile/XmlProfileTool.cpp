#include "tools/xmlprofile/XmlProfileTool.h"

#include "platform/Text.h"
#include "resources/Version.h"
#include "tools/xmlprofile/ProfileJson.h"
#include "tools/xmlprofile/ToolArguments.h"
#include "xml/XmlFileText.h"
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
Section and key names are compared ignoring ASCII letter case. Files larger
than 128 MiB are refused ("the file is too large"), as the plug-in refuses them.

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
  2  bad usage; a file that cannot be read or written (the reason is given:
     file not found, also for dump, tree, get and unset, is a folder, ...) or
     that is not a profile in the given mode; set or unset of a file whose
     reading stops early (left unchanged)
  3  dump, tree or get answered, but reading the profile stopped early at a
     repeated section: what follows it is not read, as the plug-in does not
     read it (the answer, or an absent key, covers only what was read)

What is odd about a file is said on standard error in one line, with the
place where one applies: FILE:LINE:COLUMN: section "General" repeated;
reading stopped here. A file that ends before its profile is closed (cut
short, as a write that failed part-way leaves it) or that is empty is read
as far as it goes and said so; "set" and "unset" then write it whole. A file
written in place, because no temporary file could be made in its folder, is
said so too.

Example:
  xmlprofile set TavrelSettings.xml General EmbAppType 2
  xmlprofile get TavrelSettings.xml general embapptype     # prints 2
)";

// The usage states the reader's limit in MiB.
static_assert(xml::kMaxProfileFileBytes == uint64_t{128} << 20, "the usage text names 128 MiB");

constexpr const char* kTryHelp = " (see xmlprofile --help)";

std::string Line(const std::string& message) { return "xmlprofile: " + message + "\n"; }

ToolOutcome Fail(const std::string& message) { return {kFailed, {}, Line(message)}; }

ToolOutcome Json(const nlohmann::json& document) { return {kDone, document.dump(2) + "\n", {}}; }

std::string Quoted(const std::u16string& path) { return "\"" + text::ToUtf8(path) + "\""; }

// "FILE:LINE:COLUMN: reason", or "FILE: reason" where no place applies.
std::string AtPlace(const std::u16string& path, const xml::ProfileResult& result) {
  std::string where = text::ToUtf8(path);
  if (result.HasPlace()) where += ":" + std::to_string(result.line) + ":" + std::to_string(result.column);
  return where + ": " + result.Describe();
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

// One read of a profile file: the profile, what reading it came to, and for
// the tree command the element tree of the same text.
struct ReadProfile {
  xml::CXmlParser parser;
  xml::CXmlProfile profile;
  xml::ProfileResult loaded;
  bool absent = false;  // the file is not there (a change starts empty)

  bool Stopped() const { return loaded.status == xml::ProfileStatus::RepeatedSection; }
  // The line that tells what is odd about the file, for standard error.
  std::string Notes(const std::u16string& path) const {
    const xml::ProfileStatus status = loaded.status;
    const bool odd =
        Stopped() || status == xml::ProfileStatus::CutShort || status == xml::ProfileStatus::EmptyFile;
    return odd ? Line(AtPlace(path, loaded)) : std::string();
  }
};

// Opens and reads the file once and checks that it holds a profile in the
// mode; text that decodes to nothing (an empty file) is an empty profile.
// With `tree` the element tree is built from the same text. With
// `mayBeAbsent` a missing file is an empty profile too.
std::optional<ToolOutcome> Read(ReadProfile& file, const std::u16string& path, xml::ProfileEncoding mode,
                                const char* consequence, bool mayBeAbsent, bool tree = false) {
  std::u16string text;
  xml::TextSink copy;
  if (tree) {
    copy = [&text](char16_t* first, char16_t* last) {
      text.append(first, last);
      return true;
    };
  }
  file.loaded = file.profile.LoadWithResult(path.c_str(), mode, xml::kProfilePieceBytes, copy);
  const xml::ProfileStatus status = file.loaded.status;
  if (mayBeAbsent && status == xml::ProfileStatus::NotFound) {
    file.absent = true;
    return std::nullopt;
  }
  if (status == xml::ProfileStatus::NoProfile) {
    return Fail(Quoted(path) + " is not a profile file in mode " + ModeName(mode) + consequence);
  }
  if (!file.loaded && status != xml::ProfileStatus::EmptyFile && !file.Stopped()) {
    return Fail("cannot read " + Quoted(path) + ": " + file.loaded.Describe());
  }
  if (!text.empty()) file.parser.ParseDocument(std::move(text));
  return std::nullopt;
}

// The answer of a command that only reads: with the notes about the file,
// and kReadStopped when reading stopped before the end.
ToolOutcome Answer(const ReadProfile& file, const std::u16string& path, ToolOutcome outcome) {
  outcome.err = file.Notes(path) + outcome.err;
  if (file.Stopped()) outcome.exitCode = kReadStopped;
  return outcome;
}

// Reads a file for a change; with `mayBeAbsent` (set) an absent file gives an
// empty profile, else (unset) it is refused as by get. Refuses files whose
// content would be lost by the save that follows.
std::optional<ToolOutcome> ReadForChange(ReadProfile& file, const std::u16string& path,
                                         xml::ProfileEncoding mode, bool mayBeAbsent) {
  if (std::optional<ToolOutcome> failure = Read(file, path, mode, "; left unchanged", mayBeAbsent))
    return failure;
  if (file.Stopped()) return Fail(AtPlace(path, file.loaded) + "; left unchanged");
  return std::nullopt;
}

ToolOutcome Save(ReadProfile& file, const std::u16string& path, xml::ProfileEncoding mode) {
  const xml::ProfileResult saved = file.profile.SaveWithResult(path.c_str(), mode);
  const std::string notes = file.Notes(path);
  if (!saved) return {kFailed, {}, notes + Line("cannot write " + Quoted(path) + ": " + saved.Describe())};
  if (saved.status == xml::ProfileStatus::WrittenInPlace)
    return {kDone, {}, notes + Line(AtPlace(path, saved))};
  return {kDone, {}, notes};
}

ToolOutcome Dump(const std::u16string& path, xml::ProfileEncoding mode) {
  ReadProfile file;
  if (std::optional<ToolOutcome> failure = Read(file, path, mode, "", false)) return *failure;
  const int result = file.loaded ? 1 : 0;
  return Answer(file, path, Json({{"result", result}, {"sections", SectionsToJson(file.profile)}}));
}

ToolOutcome Tree(const std::u16string& path, xml::ProfileEncoding mode) {
  ReadProfile file;
  if (std::optional<ToolOutcome> failure = Read(file, path, mode, "", false, true)) return *failure;
  const int result = file.parser.GetRoot()->Name().empty() ? 0 : 1;
  return Answer(file, path, Json({{"result", result}, {"root", TreeToJson(*file.parser.GetRoot())}}));
}

ToolOutcome Get(const std::vector<std::u16string>& a, xml::ProfileEncoding mode) {
  ReadProfile file;
  if (std::optional<ToolOutcome> failure = Read(file, a[1], mode, "", false)) return *failure;
  xml::CXmlProfile& profile = file.profile;
  const xml::ProfileKey* key = profile.FindKey(profile.FindSection(a[2].c_str()), a[3].c_str());
  if (key == nullptr) return Answer(file, a[1], {kAbsentOrRefused, {}, {}});
  return Answer(file, a[1], {kDone, text::ToUtf8(key->value) + "\n", {}});
}

ToolOutcome Set(const std::vector<std::u16string>& a, xml::ProfileEncoding mode) {
  // An empty value would be kept in memory but never written.
  if (a[2].empty() || a[3].empty() || a[4].empty()) return Fail("SECTION, KEY and VALUE must not be empty");
  ReadProfile file;
  if (std::optional<ToolOutcome> refused = ReadForChange(file, a[1], mode, true)) return *refused;
  if (file.profile.SetString(a[2].c_str(), a[3].c_str(), a[4].c_str()) == 0) {
    return {kAbsentOrRefused, {}, file.Notes(a[1]) + Line("the entry is read-only")};
  }
  return Save(file, a[1], mode);
}

ToolOutcome Unset(const std::vector<std::u16string>& a, xml::ProfileEncoding mode) {
  ReadProfile file;
  if (std::optional<ToolOutcome> refused = ReadForChange(file, a[1], mode, false)) return *refused;
  xml::CXmlProfile& profile = file.profile;
  xml::ProfileSection* section = profile.FindSection(a[2].c_str());
  const bool wholeSection = a.size() == 3;
  xml::ProfileKey* key = wholeSection ? nullptr : profile.FindKey(section, a[3].c_str());
  // Nothing to remove, as get finds nothing: the file stays as it is.
  if (section == nullptr || (!wholeSection && key == nullptr))
    return {kAbsentOrRefused, {}, file.Notes(a[1])};
  if (section->readOnly != 0 || (key != nullptr && key->readOnly != 0)) {
    return {kAbsentOrRefused, {}, file.Notes(a[1]) + Line("the entry is read-only")};
  }
  profile.SetKeyValue(section, wholeSection ? nullptr : a[3].c_str(), nullptr, 0);
  return Save(file, a[1], mode);
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
