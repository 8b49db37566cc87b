#include "platform/MessageBox.h"

#include <cstdio>
#include <string>

#include "platform/Text.h"
#include "platform/posix/StandInState.h"

namespace tavrel::platform {

namespace {

// The text on one line: line breaks, tabs and backslashes escaped.
std::string OneLine(std::u16string_view s) {
  std::string out;
  for (char c : text::ToUtf8(s)) {
    switch (c) {
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace

int ShowMessageBox(std::u16string_view text, std::u16string_view caption, unsigned flags) {
  std::fprintf(stderr, "[message box] caption \"%s\" flags 0x%02X: %s\n", OneLine(caption).c_str(), flags,
               OneLine(text).c_str());
  std::fflush(stderr);
  if (const auto& observer = standin::State().messageBoxObserver) observer(text, caption, flags);
  return kAnswerOk;
}

}  // namespace tavrel::platform
