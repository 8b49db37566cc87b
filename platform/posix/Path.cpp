#include "platform/Path.h"

#include <cstdlib>

#include "platform/Text.h"

namespace tavrel::platform {

bool IsAbsolutePath(std::u16string_view path) { return !path.empty() && IsPathSeparator(path[0]); }

std::optional<std::u16string> ExpandEnvironment(std::u16string_view text) {
  std::u16string out;
  while (!text.empty()) {
    const size_t open = text.find(u'%');
    const size_t close = open == std::u16string_view::npos ? open : text.find(u'%', open + 1);
    if (close == std::u16string_view::npos) break;
    out += text.substr(0, open);
    const std::u16string_view name = text.substr(open + 1, close - open - 1);
    const char* value = name.empty() ? nullptr : std::getenv(text::ToUtf8(name).c_str());
    if (value != nullptr) {
      out += text::FromUtf8(value);
    } else {
      out += text.substr(open, close - open + 1);
    }
    text.remove_prefix(close + 1);
  }
  out += text;
  return out;
}

}  // namespace tavrel::platform
