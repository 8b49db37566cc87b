// Splitting a command line by the Windows rules.
#include "platform/CommandLine.h"

#include <gtest/gtest.h>

namespace tavrel::platform {
namespace {

using Args = std::vector<std::u16string>;

struct Case {
  const char* name;
  std::u16string_view line;
  Args args;
};

TEST(CommandLine, SplitsByTheWindowsRules) {
  const Case cases[] = {
      {"plug-in line with switches",
       u"\"C:\\Emb\\Orin.exe\" \"C:\\Emb\\Images\\host_export.emf\" -opt -direct",
       {u"C:\\Emb\\Orin.exe", u"C:\\Emb\\Images\\host_export.emf", u"-opt", u"-direct"}},
      {"spaces inside quotes",
       u"\"C:\\Program Files\\Orin 3\\Orin.exe\" \"C:\\Program Files\\Orin 3\\Images\\host_export.emf\"",
       {u"C:\\Program Files\\Orin 3\\Orin.exe", u"C:\\Program Files\\Orin 3\\Images\\host_export.emf"}},
      {"non-ASCII letters",
       u"\"C:\\Stickerei \u00c4\u00df\u4e2d\\Kyro.exe\" \"\u00e9\"",
       {u"C:\\Stickerei \u00c4\u00df\u4e2d\\Kyro.exe", u"\u00e9"}},
      {"folder ending in a backslash doubles it",
       u"\"C:\\Emb\\\\Orin.exe\" \"C:\\Emb\\\\Images\\host_export.emf\"",
       {u"C:\\Emb\\\\Orin.exe", u"C:\\Emb\\\\Images\\host_export.emf"}},
      {"program token keeps a backslash before its quote", u"\"C:\\Emb\\\" x", {u"C:\\Emb\\", u"x"}},
      {"backslash before a closing quote escapes it", u"p \"a\\\" b\"", {u"p", u"a\" b"}},
      {"two backslashes before a quote", u"p \"a\\\\\" b", {u"p", u"a\\", u"b"}},
      {"three backslashes before a quote", u"p a\\\\\\\"b", {u"p", u"a\\\"b"}},
      {"backslashes elsewhere stay", u"p a\\\\b\\", {u"p", u"a\\\\b\\"}},
      {"empty quoted argument", u"p \"\" x", {u"p", u"", u"x"}},
      {"doubled quote inside quotes", u"p \"a\"\"b\"", {u"p", u"a\"b"}},
      {"quotes join pieces", u"p a\"b c\"d", {u"p", u"ab cd"}},
      {"tabs and runs of blanks", u"p\t a \t\tb  ", {u"p", u"a", u"b"}},
      {"unquoted program", u"C:\\Emb\\Orin.exe file", {u"C:\\Emb\\Orin.exe", u"file"}},
      {"unterminated quote runs to the end", u"\"C:\\a b", {u"C:\\a b"}},
      {"empty line", u"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.name;
}

}  // namespace
}  // namespace tavrel::platform
