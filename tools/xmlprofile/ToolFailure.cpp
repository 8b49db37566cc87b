#include <exception>
#include <new>
#include <string>

#include "platform/Console.h"
#include "tools/xmlprofile/XmlProfileTool.h"

namespace tavrel::tools {

int ReportEscapedFailure() noexcept {
  try {
    std::string reason = "an unexpected failure";
    try {
      throw;
    } catch (const std::bad_alloc&) {
      reason = "not enough memory";
    } catch (const std::exception& e) {
      reason = std::string("an unexpected failure (") + e.what() + ")";
    } catch (...) {
    }
    platform::WriteStd(platform::StdStream::Err, "xmlprofile: stopped: " + reason + "\n");
  } catch (...) {
  }
  return kFailed;
}

int RunXmlProfileAndWrite(const std::vector<std::u16string>& args) {
  const ToolOutcome outcome = RunXmlProfile(args);
  platform::WriteStd(platform::StdStream::Out, outcome.out);
  platform::WriteStd(platform::StdStream::Err, outcome.err);
  return outcome.exitCode;
}

}  // namespace tavrel::tools
