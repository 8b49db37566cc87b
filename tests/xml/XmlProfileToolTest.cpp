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
  dir.Write(u"t.xml", "<r a=\"1\">x<k n=\"&amp;\"/></r>");
  const ToolOutcome tree = Tool({u"tree", dir.Path(u"t.xml"), u"--mode", u"ansi"});
  ASSERT_EQ(tree.exitCode, 0) << tree.err;
  EXPECT_EQ(json::parse(tree.out), json::parse(R"({"result": 1, "root": {"name": "r", "attributes": "a=\"1\"",
      "text": "", "children": [{"name": "k", "attributes": "n=\"&amp;\"", "text": "", "children": []}]}})"));

  std::string deep;
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
  EXPECT_EQ(Tool({u"unset", path, u"Nowhere", u"k"}).exitCode, 0);
  EXPECT_EQ(Tool({u"unset", dir.Path(u"none.xml"), u"s"}).exitCode, 0);
  EXPECT_FALSE(std::filesystem::exists(dir.Native(u"none.xml")));
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

}  // namespace
}  // namespace tavrel::tools
