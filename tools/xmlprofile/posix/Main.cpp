// The arguments arrive as UTF-8 bytes.
#include "platform/Console.h"
#include "platform/Text.h"
#include "tools/xmlprofile/XmlProfileTool.h"

int main(int argc, char** argv) try {
  std::vector<std::u16string> args;
  for (int i = 1; i < argc; ++i) args.push_back(tavrel::text::FromUtf8(argv[i]));
  const tavrel::tools::ToolOutcome outcome = tavrel::tools::RunXmlProfile(args);
  tavrel::platform::WriteStd(tavrel::platform::StdStream::Out, outcome.out);
  tavrel::platform::WriteStd(tavrel::platform::StdStream::Err, outcome.err);
  return outcome.exitCode;
} catch (...) {
  return tavrel::tools::ReportEscapedFailure();
}
