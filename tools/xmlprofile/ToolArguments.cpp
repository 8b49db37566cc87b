#include "tools/xmlprofile/ToolArguments.h"

#include "platform/Text.h"

namespace tavrel::tools {

namespace {

std::optional<xml::ProfileEncoding> ParseMode(std::u16string_view name) {
  if (name == u"auto") return xml::ProfileEncoding::Auto;
  if (name == u"ansi") return xml::ProfileEncoding::Ansi;
  if (name == u"utf16") return xml::ProfileEncoding::Utf16;
  return std::nullopt;
}

}  // namespace

std::optional<ToolArguments> ParseToolArguments(const std::vector<std::u16string>& args, std::string& error) {
  ToolArguments parsed;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::u16string& arg = args[i];
    if (arg == u"--mode") {
      const std::optional<xml::ProfileEncoding> mode =
          i + 1 < args.size() ? ParseMode(args[i + 1]) : std::optional<xml::ProfileEncoding>();
      if (!mode) {
        error = "--mode needs auto, ansi or utf16";
        return std::nullopt;
      }
      parsed.mode = *mode;
      ++i;
    } else if (arg.size() > 2 && arg.compare(0, 2, u"--") == 0) {
      error = "unknown option " + text::ToUtf8(arg);
      return std::nullopt;
    } else {
      parsed.positional.push_back(arg);
    }
  }
  return parsed;
}

}  // namespace tavrel::tools
