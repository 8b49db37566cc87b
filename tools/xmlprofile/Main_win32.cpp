// The arguments arrive as UTF-16 through wmain; output is UTF-8 bytes, so the
// streams are switched to binary (no CR added before LF).
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "tools/xmlprofile/XmlProfileTool.h"

int wmain(int argc, wchar_t** argv) {
  std::vector<std::u16string> args;
  for (int i = 1; i < argc; ++i) {
    const wchar_t* arg = argv[i];
    args.emplace_back(arg, arg + std::char_traits<wchar_t>::length(arg));
  }
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  const tavrel::tools::ToolOutcome outcome = tavrel::tools::RunXmlProfile(args);
  std::fwrite(outcome.out.data(), 1, outcome.out.size(), stdout);
  std::fwrite(outcome.err.data(), 1, outcome.err.size(), stderr);
  return outcome.exitCode;
}
