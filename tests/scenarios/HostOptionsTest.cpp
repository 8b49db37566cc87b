#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>

#include "platform/Console.h"
#include "platform/Text.h"
#include "tools/host/runner/Options.h"

namespace tavrel::hostrunner {
namespace {

namespace fs = std::filesystem;

std::string U8(const fs::path& path) { return text::ToUtf8(path.u16string()); }

// What a command line gives: the options in a few words, or the complaint.
std::string Outcome(const std::vector<std::string>& args) {
  try {
    const Options o = ParseOptions(args);
    std::string s;
    if (o.help) s += "help ";
    if (o.version) s += "version ";
    if (o.rawPaths) s += "raw ";
    if (o.interactive) s += "interactive ";
    if (o.hostFolder) s += "host=" + U8(*o.hostFolder) + " ";
    if (o.settingsFolder) s += "settings=" + U8(*o.settingsFolder) + " ";
    if (o.log) s += "log=" + U8(*o.log) + " ";
    if (o.registry) s += "registry=" + U8(*o.registry) + " ";
    if (o.plugin) s += "plugin=" + U8(*o.plugin) + " ";
    s += "state=" + U8(o.stateDir) + " scenario=" + U8(o.scenario);
    return s;
  } catch (const std::invalid_argument& e) {
    return std::string("error: ") + e.what();
  }
}

TEST(HostOptions, CommandLines) {
  struct Case {
    std::vector<std::string> args;
    std::string outcome;
  };
  const Case cases[] = {
      {{"s.scenario"}, "state=tavrel-host-state scenario=s.scenario"},
      {{"--help"}, "help state=tavrel-host-state scenario="},
      {{"-h"}, "help state=tavrel-host-state scenario="},
      {{"s.scenario", "--help"}, "help state=tavrel-host-state scenario=s.scenario"},
      {{"--version"}, "version state=tavrel-host-state scenario="},
      {{"--state-dir", "st", "--log", "l.jsonl", "--raw-paths", "--interactive", "s.scenario"},
       "raw interactive log=l.jsonl state=st scenario=s.scenario"},
      {{"--host-folder", "h", "--settings-folder", "se", "--registry", "r.reg", "--plugin", "p.cpg", "x"},
       "host=h settings=se registry=r.reg plugin=p.cpg state=tavrel-host-state scenario=x"},
      {{"--", "-odd.scenario"}, "state=tavrel-host-state scenario=-odd.scenario"},
      {{"M\u00fcller.scenario"}, "state=tavrel-host-state scenario=M\u00fcller.scenario"},
      {{}, "error: no scenario given"},
      {{"--log"}, "error: --log needs a value"},
      {{"--bogus", "s.scenario"}, "error: unknown option --bogus"},
      {{"-x", "s.scenario"}, "error: unknown option -x"},
      {{"a.scenario", "b.scenario"}, "error: one scenario only, not also b.scenario"},
      {{"--", "--help"}, "state=tavrel-host-state scenario=--help"},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const auto& a : c.args) shown += " " + a;
    EXPECT_EQ(Outcome(c.args), c.outcome) << shown;
  }
  // "/?" asks for the usage where the platform says so, and is a path elsewhere.
  EXPECT_EQ(Outcome({"/?"}), platform::IsPlatformHelpSwitch(u"/?") ? "help state=tavrel-host-state scenario="
                                                                   : "state=tavrel-host-state scenario=/?");
}

TEST(HostOptions, UsageNamesEveryOption) {
  const std::string usage = HostUsage();
  for (const char* option : {"--state-dir DIR", "--host-folder DIR", "--settings-folder DIR", "--plugin FILE",
                             "--log FILE", "--registry FILE", "--raw-paths", "--interactive", "-h, --help",
                             "--version", "SCENARIO:LINE: message", "Exit status"}) {
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
}

std::set<std::string> LongOptions(const std::string& text) {
  std::set<std::string> found;
  const std::regex option("--[a-z][a-z-]*");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it) {
    found.insert(it->str());
  }
  return found;
}

// The synopsis in tools/host/README.md names the options the program has.
TEST(HostOptions, ReadmeSynopsisMatchesTheUsage) {
  std::ifstream readme(fs::path(TAVREL_SOURCE_DIR) / "tools" / "host" / "README.md");
  ASSERT_TRUE(readme.is_open());
  std::stringstream content;
  content << readme.rdbuf();
  const std::string text = content.str();
  const auto start = text.find("```\ntavrel-host ");
  ASSERT_NE(start, std::string::npos);
  const auto end = text.find("```", start + 3);
  const std::string usage = HostUsage();
  EXPECT_EQ(LongOptions(text.substr(start, end - start)), LongOptions(usage.substr(usage.find("Options:"))));
}

}  // namespace
}  // namespace tavrel::hostrunner
