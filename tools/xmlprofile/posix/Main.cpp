// The arguments arrive as UTF-8 bytes.
#include "platform/Text.h"
#include "tools/xmlprofile/XmlProfileTool.h"

int main(int argc, char** argv) try {
  std::vector<std::u16string> args;
  for (int i = 1; i < argc; ++i) args.push_back(tavrel::text::FromUtf8(argv[i]));
  return tavrel::tools::RunXmlProfileAndWrite(args);
} catch (...) {
  return tavrel::tools::ReportEscapedFailure();
}
