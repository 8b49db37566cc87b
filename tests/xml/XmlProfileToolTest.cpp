#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/File.h"
#include "platform/Text.h"
#include "tests/support/TempDir.h"
#include "tests/xml/ProfileFiles.h"
#include "tools/xmlprofile/XmlProfileTool.h"

namespace tavrel::tools {
namespace {

using nlohmann::json;
using testing_support::TempDir;

ToolOutcome Tool(const std::vector<std::u16string>& args) { return RunXmlProfile(args); }

TEST(XmlProfileTool, DumpsTheProfile) {
  TempDir dir;
  dir.Write(u"p.xml", xml::testing::Golden("readonly.xml"));
  const ToolOutcome dump = Tool({u"dump", dir.Path(u"p.xml")});
  ASSERT_EQ(dump.exitCode, 0) << dump.err;
  EXPECT_EQ(json::parse(dump.out), json::parse(R"({"result": 1, "sections": [
      {"name": "Locked", "readonly": true, "keys": [{"name": "a", "value": "1", "readonly": false},
                                                   {"name": "b", "value": "2", "readonly": true}]},
      {"name": "Open", "readonly": false, "keys": [{"name": "c", "value": "<\"x\" & y>", "readonly": true}]}]})"));

  dir.Write(u"dup.xml",
            "<profile><section name=\"a\"><key name=\"k\" value=\"1\"/></section>"
            "<section name=\"A\"><key name=\"k\" value=\"2\"/></section></profile>");
  EXPECT_EQ(json::parse(Tool({u"dump", dir.Path(u"dup.xml")}).out)["result"], 0);
}

TEST(XmlProfileTool, TreeShowsRawAttributesAndBoundsDepth) {
  TempDir dir;
  dir.Write(u"t.xml", "<profile a=\"1\">x<k n=\"&amp;\"/></profile>");
  const ToolOutcome tree = Tool({u"tree", dir.Path(u"t.xml"), u"--mode", u"ansi"});
  ASSERT_EQ(tree.exitCode, 0) << tree.err;
  EXPECT_EQ(json::parse(tree.out),
            json::parse(R"({"result": 1, "root": {"name": "profile", "attributes": "a=\"1\"",
      "text": "", "children": [{"name": "k", "attributes": "n=\"&amp;\"", "text": "", "children": []}]}})"));

  std::string deep = "<profile>";
  for (int i = 0; i < 100000; ++i) deep += "<a>";
  dir.Write(u"deep.xml", deep);
  const ToolOutcome deepTree = Tool({u"tree", dir.Path(u"deep.xml")});
  ASSERT_EQ(deepTree.exitCode, 0);
  EXPECT_NE(deepTree.out.find("\"truncated\": true"), std::string::npos);
}

TEST(XmlProfileTool, GetSetUnset) {
  TempDir dir;
  const std::u16string path = dir.Path(u"s.xml");
  EXPECT_EQ(Tool({u"set", path, u"General", u"EmbAppType", u"1"}).exitCode, 0);  // creates the file
  EXPECT_EQ(Tool({u"set", path, u"General", u"ExportType", u"0"}).exitCode, 0);
  EXPECT_EQ(Tool({u"set", path, u"general", u"OptimiseCurves", u"1"}).exitCode, 0);
  EXPECT_EQ(dir.Read(u"s.xml"), xml::testing::Golden("settings-auto.xml"));
  EXPECT_EQ(Tool({u"get", path, u"GENERAL", u"embapptype"}).out, "1\n");
  EXPECT_EQ(Tool({u"get", path, u"General", u"Missing"}).exitCode, 1);
  EXPECT_EQ(Tool({u"set", path, u"Gr\u00fc\u00dfe", u"\u20ac", u"a\"b", u"--mode", u"utf16"}).exitCode, 0);
  EXPECT_EQ(Tool({u"get", path, u"gr\u00fc\u00dfe", u"\u20ac"}).out, "a\"b\n");
  EXPECT_EQ(Tool({u"unset", path, u"General", u"ExportType"}).exitCode, 0);
  EXPECT_EQ(Tool({u"get", path, u"General", u"ExportType"}).exitCode, 1);
  EXPECT_EQ(Tool({u"unset", path, u"General"}).exitCode, 0);
  EXPECT_EQ(Tool({u"get", path, u"General", u"EmbAppType"}).exitCode, 1);
  // Nothing to remove is told apart, as get tells an absent key.
  const std::string before = dir.Read(u"s.xml");
  EXPECT_EQ(Tool({u"unset", path, u"Nowhere", u"k"}).exitCode, 1);
  EXPECT_EQ(Tool({u"unset", path, u"Nowhere"}).exitCode, 1);
  EXPECT_EQ(Tool({u"unset", path, u"Gr\u00fc\u00dfe", u"Nope"}).exitCode, 1);
  EXPECT_EQ(dir.Read(u"s.xml"), before);
}

TEST(XmlProfileTool, ReadOnlyEntriesAreRefused) {
  TempDir dir;
  dir.Write(u"r.xml", xml::testing::Golden("readonly.xml"));
  const std::u16string path = dir.Path(u"r.xml");
  const std::vector<std::vector<std::u16string>> refused = {
      {u"set", path, u"Locked", u"a", u"9"}, {u"set", path, u"Locked", u"new", u"9"},
      {u"set", path, u"Open", u"c", u"9"},   {u"unset", path, u"Locked"},
      {u"unset", path, u"Locked", u"a"},     {u"unset", path, u"Open", u"c"},
  };
  for (const auto& args : refused) {
    const ToolOutcome outcome = RunXmlProfile(args);
    EXPECT_EQ(outcome.exitCode, 1) << text::ToUtf8(args[0]) << " " << text::ToUtf8(args[2]);
    EXPECT_FALSE(outcome.err.empty());
  }
  EXPECT_EQ(dir.Read(u"r.xml"), xml::testing::Golden("readonly.xml"));
  EXPECT_EQ(Tool({u"set", path, u"Open", u"d", u"4"}).exitCode, 0);
}

TEST(XmlProfileTool, BadUsageAndUnusableFiles) {
  TempDir dir;
  dir.Write(u"notes.txt", "<html><body>not a profile</body></html>");
  dir.Write(u"dup.xml",
            "<profile><section name=\"a\"><key name=\"k\" value=\"1\"/></section>"
            "<section name=\"A\"><key name=\"k\" value=\"2\"/></section><section name=\"b\">"
            "<key name=\"k\" value=\"3\"/></section></profile>");
  const std::vector<std::vector<std::u16string>> failing = {
      {},
      {u"frobnicate", dir.Path(u"x.xml")},
      {u"dump"},
      {u"get", dir.Path(u"x.xml"), u"s"},
      {u"dump", dir.Path(u"x.xml"), u"--mode", u"ebcdic"},
      {u"dump", dir.Path(u"x.xml"), u"--mode"},
      {u"dump", dir.Path(u"x.xml"), u"--verbose"},
      {u"dump", dir.Path(u"missing.xml")},
      {u"tree", dir.Path(u"missing.xml")},
      {u"get", dir.Path(u"missing.xml"), u"s", u"k"},
      {u"set", dir.Path(u"no\\folder\\x.xml"), u"s", u"k", u"v"},
      {u"set", dir.Path(u"x.xml"), u"", u"k", u"v"},
      {u"set", dir.Path(u"x.xml"), u"s", u"k", u""},
      {u"set", dir.Path(u"notes.txt"), u"s", u"k", u"v"},
      {u"set", dir.Path(u"dup.xml"), u"s", u"k", u"v"},
      {u"unset", dir.Path(u"dup.xml"), u"b"},
  };
  for (const auto& args : failing) {
    const ToolOutcome outcome = RunXmlProfile(args);
    EXPECT_EQ(outcome.exitCode, 2) << (args.empty() ? "" : text::ToUtf8(args[0]));
    EXPECT_TRUE(outcome.out.empty());
    ASSERT_FALSE(outcome.err.empty());
    EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1);  // one line
  }
  EXPECT_EQ(dir.Read(u"notes.txt"), "<html><body>not a profile</body></html>");
  EXPECT_NE(dir.Read(u"dup.xml").find("name=\"b\""), std::string::npos);
}

// The command line as people try it: help and version in their usual
// spellings, both forms of --mode, "--" before names that look like options.
TEST(XmlProfileTool, ArgumentHandling) {
  TempDir dir;
  dir.Write(u"p.xml", xml::testing::Golden("readonly.xml"));
  dir.Write(u"dash.xml", "<profile><section name=\"--\"><key name=\"-k\" value=\"-1\"/></section></profile>");
  dir.Write(u"ansi.xml",
            "<profile><section name=\"S\"><key name=\"k\" value=\"M\xfcller\"/></section></profile>");
  const std::u16string p = dir.Path(u"p.xml");
  const std::u16string dash = dir.Path(u"dash.xml");
  const std::u16string ansi = dir.Path(u"ansi.xml");
  struct Case {
    std::vector<std::u16string> args;
    int exitCode;
    std::string out;  // expected standard output, or its start when it ends in "..."
    std::string err;  // a part of standard error ("" for none at all)
  };
  const std::string usage = XmlProfileUsage();
  const Case cases[] = {
      {{u"--help"}, 0, usage, ""},
      {{u"-h"}, 0, usage, ""},
      {{u"help"}, 0, usage, ""},
      {{u"get", p, u"Open", u"c", u"--help"}, 0, usage, ""},
      {{u"--version"}, 0, "xmlprofile 1...", ""},
      {{u"get", p, u"Open", u"c"}, 0, "<\"x\" & y>\n", ""},
      {{u"get", ansi, u"s", u"k", u"--mode=ansi"}, 0, "M\u00fcller\n", ""},
      {{u"--mode", u"ansi", u"get", ansi, u"s", u"k"}, 0, "M\u00fcller\n", ""},
      {{u"get", dash, u"--", u"-k"}, 2, "", "get takes FILE SECTION KEY"},
      {{u"--", u"get", dash, u"--", u"-k"}, 0, "-1\n", ""},
      {{u"get", dash, u"--mode=ansi", u"--", u"--", u"-k"}, 0, "-1\n", ""},
      {{u"get", p, u"Open", u"nope"}, 1, "", ""},
      {{u"--mode=ebcdic", u"dump", p}, 2, "", "--mode must be auto, ansi or utf16, not \"ebcdic\""},
      {{u"--mode=", u"dump", p}, 2, "", "--mode must be"},
      {{u"dump", p, u"--mode"}, 2, "", "--mode needs a value"},
      {{u"dump", p, u"--modes=ansi"}, 2, "", "unknown option --modes=ansi"},
      {{u"--verbose", u"dump", p}, 2, "", "unknown option --verbose (see xmlprofile --help)"},
      {{}, 2, "", "no command given"},
      {{u"frobnicate", p}, 2, "", "unknown command \"frobnicate\""},
      {{u"get", p, u"Open"}, 2, "", "get takes FILE SECTION KEY"},
      {{u"set", p, u"Open", u"c"}, 2, "", "set takes FILE SECTION KEY VALUE"},
      {{u"unset", p}, 2, "", "unset takes FILE SECTION [KEY]"},
      {{u"dump"}, 2, "", "dump takes FILE"},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const auto& a : c.args) shown += " " + text::ToUtf8(a);
    const ToolOutcome outcome = Tool(c.args);
    EXPECT_EQ(outcome.exitCode, c.exitCode) << shown << ": " << outcome.err;
    if (c.out.ends_with("...")) {
      EXPECT_TRUE(outcome.out.starts_with(c.out.substr(0, c.out.size() - 3))) << shown << ": " << outcome.out;
    } else {
      EXPECT_EQ(outcome.out, c.out) << shown;
    }
    if (c.err.empty()) {
      EXPECT_EQ(outcome.err, "") << shown;
    } else {
      EXPECT_NE(outcome.err.find(c.err), std::string::npos) << shown << ": " << outcome.err;
      EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << shown;  // one line
    }
  }
}

// The usage names every command, option and exit code it promises.
TEST(XmlProfileTool, UsageIsComplete) {
  const std::string usage = XmlProfileUsage();
  for (const char* part : {"dump FILE", "tree FILE", "get FILE SECTION KEY", "set FILE SECTION KEY VALUE",
                           "unset FILE SECTION [KEY]", "--mode MODE, --mode=MODE", "--version", "-h, --help",
                           "--  ", "Exit status", "Example"}) {
    EXPECT_NE(usage.find(part), std::string::npos) << part;
  }
}

// A file that holds no profile in the mode asked for is refused alike by
// every command, and nothing is written to it.
TEST(XmlProfileTool, FilesThatAreNoProfileAreRefusedByEveryCommand) {
  TempDir dir;
  std::string utf16 = "\xff\xfe";
  for (char c :
       std::string("<profile><section name=\"s\"><key name=\"k\" value=\"v\"/></section></profile>")) {
    utf16 += c;
    utf16 += '\0';
  }
  dir.Write(u"notes.txt", "just some notes\n");
  dir.Write(u"page.html", "<html><body>not a profile</body></html>");
  dir.Write(u"wide.xml", utf16);
  const std::u16string notes = dir.Path(u"notes.txt");
  const std::u16string page = dir.Path(u"page.html");
  const std::u16string wide = dir.Path(u"wide.xml");
  const std::vector<std::vector<std::u16string>> refused = {
      {u"dump", notes},
      {u"tree", notes},
      {u"get", notes, u"s", u"k"},
      {u"set", notes, u"s", u"k", u"v"},
      {u"unset", notes, u"s"},
      {u"dump", page},
      {u"tree", page},
      {u"dump", wide, u"--mode", u"ansi"},
      {u"tree", wide, u"--mode", u"ansi"},
      {u"set", wide, u"s", u"k", u"w", u"--mode=ansi"},
  };
  for (const auto& args : refused) {
    const ToolOutcome outcome = Tool(args);
    const std::string shown = text::ToUtf8(args[0]) + " " + text::ToUtf8(args[1]);
    EXPECT_EQ(outcome.exitCode, 2) << shown;
    EXPECT_EQ(outcome.out, "") << shown;
    EXPECT_NE(outcome.err.find("\"" + text::ToUtf8(args[1]) + "\" is not a profile file in mode "),
              std::string::npos)
        << shown << ": " << outcome.err;
  }
  EXPECT_EQ(dir.Read(u"notes.txt"), "just some notes\n");
  EXPECT_EQ(dir.Read(u"wide.xml"), utf16);
  // The same UTF-16 file in its own mode is a profile.
  EXPECT_EQ(Tool({u"get", wide, u"s", u"k"}).out, "v\n");
  EXPECT_EQ(Tool({u"tree", wide, u"--mode", u"utf16"}).exitCode, 0);
  // An empty file is an empty profile.
  dir.Write(u"empty.xml", "");
  EXPECT_EQ(json::parse(Tool({u"dump", dir.Path(u"empty.xml")}).out)["sections"], json::array());
}

// Every file failure names the file and says why, in both builds alike.
TEST(XmlProfileTool, FileErrorsNameTheFileAndTheReason) {
  TempDir dir;
  dir.Write(u"ro.xml", xml::testing::Golden("settings-auto.xml"));
  dir.Write(u"held.xml", xml::testing::Golden("settings-auto.xml"));
  dir.Write(u"folder\\inner.txt", "");
  ASSERT_EQ(platform::Chmod(dir.Path(u"ro.xml"), platform::kModeRead), 0);
  const platform::File holder = xml::testing::HoldWithoutSharing(dir.Path(u"held.xml"));
  ASSERT_TRUE(holder.IsOpen());
  struct Case {
    std::vector<std::u16string> args;
    std::string message;  // after "xmlprofile: "
  };
  const std::u16string missing = dir.Path(u"missing.xml");
  const std::u16string folder = dir.Path(u"folder");
  const std::u16string ro = dir.Path(u"ro.xml");
  const std::u16string held = dir.Path(u"held.xml");
  const std::u16string nowhere = dir.Path(u"no\\such\\x.xml");
  auto q = [](const std::u16string& path) { return "\"" + text::ToUtf8(path) + "\""; };
  const Case cases[] = {
      {{u"dump", missing}, "cannot read " + q(missing) + ": file not found"},
      {{u"get", missing, u"s", u"k"}, "cannot read " + q(missing) + ": file not found"},
      {{u"unset", missing, u"s"}, "cannot read " + q(missing) + ": file not found"},
      {{u"unset", folder, u"s", u"k"}, "cannot read " + q(folder) + ": is a folder"},
      {{u"tree", folder}, "cannot read " + q(folder) + ": is a folder"},
      {{u"set", folder, u"s", u"k", u"v"}, "cannot read " + q(folder) + ": is a folder"},
      {{u"set", ro, u"s", u"k", u"v"}, "cannot write " + q(ro) + ": read-only"},
      {{u"unset", ro, u"General"}, "cannot write " + q(ro) + ": read-only"},
      {{u"dump", held}, "cannot read " + q(held) + ": in use by another program"},
      {{u"set", held, u"s", u"k", u"v"}, "cannot read " + q(held) + ": in use by another program"},
      {{u"set", nowhere, u"s", u"k", u"v"}, "cannot write " + q(nowhere) + ": folder not found"},
  };
  for (const Case& c : cases) {
    const ToolOutcome outcome = Tool(c.args);
    EXPECT_EQ(outcome.exitCode, 2) << c.message;
    EXPECT_EQ(outcome.err, "xmlprofile: " + c.message + "\n");
  }
  EXPECT_EQ(dir.Read(u"ro.xml"), xml::testing::Golden("settings-auto.xml"));
  EXPECT_FALSE(std::filesystem::exists(dir.Native(u"missing.xml")));
  platform::Chmod(dir.Path(u"ro.xml"), platform::kModeRead | platform::kModeWrite);
}

// A read that stopped at a repeated section is reported by every command,
// with the place, even where the command can still answer; a file cut short
// or empty is read as far as it goes and said so.
TEST(XmlProfileTool, ReadsThatStopOrEndEarlySaySoWithThePlace) {
  TempDir dir;
  const std::string repeated =
      "<profile>\r\n\t<section name=\"General\"><key name=\"a\" value=\"1\"/></section>\r\n"
      "\t<section name=\"GENERAL\"><key name=\"b\" value=\"2\"/></section>\r\n</profile>\r\n";
  dir.Write(u"rep.xml", repeated);
  dir.Write(u"cut.xml", "<profile>\n<section name=\"S\"><key name=\"k\" value=\"v\"/>\n</sec");
  dir.Write(u"empty.xml", "");
  const std::u16string rep = dir.Path(u"rep.xml");
  const std::u16string cut = dir.Path(u"cut.xml");
  const std::u16string empty = dir.Path(u"empty.xml");
  const std::string stop =
      "xmlprofile: " + text::ToUtf8(rep) + ":3:2: section \"GENERAL\" repeated; reading stopped here";
  const std::string cutNote =
      "xmlprofile: " + text::ToUtf8(cut) +
      ":3:6: the file ends before its profile is closed; it may have been cut short\n";
  const std::string emptyNote =
      "xmlprofile: " + text::ToUtf8(empty) + ": the file is empty; read as an empty profile\n";
  struct Case {
    std::vector<std::u16string> args;
    int exitCode;
    std::string out;
    std::string err;
  };
  const Case cases[] = {
      {{u"get", rep, u"General", u"a"}, kReadStopped, "1\n", stop + "\n"},
      {{u"get", rep, u"General", u"b"}, kReadStopped, "", stop + "\n"},
      {{u"set", rep, u"General", u"a", u"3"}, kFailed, "", stop + "; left unchanged\n"},
      {{u"unset", rep, u"General"}, kFailed, "", stop + "; left unchanged\n"},
      {{u"get", cut, u"S", u"k"}, kDone, "v\n", cutNote},
      {{u"get", cut, u"S", u"x"}, kAbsentOrRefused, "", cutNote},
      {{u"get", empty, u"S", u"k"}, kAbsentOrRefused, "", emptyNote},
  };
  for (const Case& c : cases) {
    const ToolOutcome outcome = Tool(c.args);
    const std::string shown = text::ToUtf8(c.args[0]) + " " + text::ToUtf8(c.args[1]);
    EXPECT_EQ(outcome.exitCode, c.exitCode) << shown;
    EXPECT_EQ(outcome.out, c.out) << shown;
    EXPECT_EQ(outcome.err, c.err) << shown;
  }
  EXPECT_EQ(json::parse(Tool({u"dump", rep}).out)["result"], 0);
  EXPECT_EQ(Tool({u"tree", rep}).exitCode, kReadStopped);
  EXPECT_EQ(dir.Read(u"rep.xml"), repeated);
  // set writes a file cut short whole again.
  EXPECT_EQ(Tool({u"set", cut, u"S", u"n", u"2"}).exitCode, kDone);
  EXPECT_EQ(Tool({u"get", cut, u"S", u"k"}).err, "");
}

}  // namespace
}  // namespace tavrel::tools
