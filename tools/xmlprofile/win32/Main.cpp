// The arguments arrive as UTF-16 through wmain; the text goes to a console as
// UTF-16 and to a pipe or a file as UTF-8 bytes.
#include <string>

#include "tools/xmlprofile/XmlProfileTool.h"

int wmain(int argc, wchar_t** argv) try {
  std::vector<std::u16string> args;
  for (int i = 1; i < argc; ++i) {
    const wchar_t* arg = argv[i];
    args.emplace_back(arg, arg + std::char_traits<wchar_t>::length(arg));
  }
  return tavrel::tools::RunXmlProfileAndWrite(args);
} catch (...) {
  return tavrel::tools::ReportEscapedFailure();
}
