#include "tools/xmlprofile/ToolArguments.h"

#include "platform/Console.h"
#include "platform/Text.h"

namespace tavrel::tools {

namespace {

constexpr std::u16string_view kModeOption = u"--mode";

std::optional<xml::ProfileEncoding> ParseMode(std::u16string_view name) {
  if (name == u"auto") return xml::ProfileEncoding::Auto;
  if (name == u"ansi") return xml::ProfileEncoding::Ansi;
  if (name == u"utf16") return xml::ProfileEncoding::Utf16;
  return std::nullopt;
}

bool SetMode(ToolArguments& parsed, const std::u16string* name, std::string& error) {
  const std::optional<xml::ProfileEncoding> mode = name != nullptr ? ParseMode(*name) : std::nullopt;
  if (!mode) {
    error = name == nullptr ? "--mode needs a value: auto, ansi or utf16"
                            : "--mode must be auto, ansi or utf16, not \"" + text::ToUtf8(*name) + "\"";
    return false;
  }
  parsed.mode = *mode;
  return true;
}

}  // namespace

std::optional<ToolArguments> ParseToolArguments(const std::vector<std::u16string>& args, std::string& error) {
  ToolArguments parsed;
  bool options = true;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::u16string& arg = args[i];
    // A single dash begins no option but -h, so values such as "-1" pass.
    const bool option = arg.starts_with(u"--") || arg == u"-h" || platform::IsPlatformHelpSwitch(arg);
    if (!options || !option) {
      parsed.positional.push_back(arg);
      continue;
    }
    if (arg == u"--") {
      options = false;
    } else if (arg == u"--version") {
      parsed.version = true;
    } else if (arg == kModeOption) {
      if (!SetMode(parsed, i + 1 < args.size() ? &args[++i] : nullptr, error)) return std::nullopt;
    } else if (arg.starts_with(u"--mode=")) {
      const std::u16string name = arg.substr(kModeOption.size() + 1);
      if (!SetMode(parsed, &name, error)) return std::nullopt;
    } else if (arg.starts_with(u"--") && arg != u"--help") {
      error = "unknown option " + text::ToUtf8(arg);
      return std::nullopt;
    } else {
      parsed.help = true;  // --help, -h, the platform's switch
    }
  }
  // "help" as the command asks for the usage too.
  if (!parsed.positional.empty() && parsed.positional[0] == u"help") {
    parsed.help = true;
  }
  return parsed;
}

}  // namespace tavrel::tools
