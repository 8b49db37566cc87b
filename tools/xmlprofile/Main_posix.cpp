// The arguments arrive as UTF-8 bytes.
#include <cstdio>

#include "platform/Text.h"
#include "tools/xmlprofile/XmlProfileTool.h"

int main(int argc, char** argv) {
  std::vector<std::u16string> args;
  for (int i = 1; i < argc; ++i) args.push_back(tavrel::text::FromUtf8(argv[i]));
  const tavrel::tools::ToolOutcome outcome = tavrel::tools::RunXmlProfile(args);
  std::fwrite(outcome.out.data(), 1, outcome.out.size(), stdout);
  std::fwrite(outcome.err.data(), 1, outcome.err.size(), stderr);
  return outcome.exitCode;
}
