#include "platform/CommandLine.h"

namespace tavrel::platform {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// The program token: no escapes, a leading quote runs to the next quote.
size_t TakeProgram(std::u16string_view s, std::u16string* out) {
  size_t i = 0;
  if (!s.empty() && s[0] == u'"') {
    i = 1;
    while (i < s.size() && s[i] != u'"') out->push_back(s[i++]);
    if (i < s.size()) ++i;  // the closing quote
  }
  while (i < s.size() && !IsBlank(s[i])) out->push_back(s[i++]);
  return i;
}

// One argument starting at `i` (not blank); returns the index after it.
size_t TakeArgument(std::u16string_view s, size_t i, std::u16string* out) {
  bool quoted = false;
  while (i < s.size()) {
    const char16_t c = s[i];
    if (c == u'\\') {
      size_t run = 0;
      while (i < s.size() && s[i] == u'\\') {
        ++run;
        ++i;
      }
      if (i < s.size() && s[i] == u'"') {
        out->append(run / 2, u'\\');
        if (run % 2 == 1) {
          out->push_back(u'"');
          ++i;
        }
      } else {
        out->append(run, u'\\');
      }
      continue;
    }
    if (c == u'"') {
      if (quoted && i + 1 < s.size() && s[i + 1] == u'"') {
        out->push_back(u'"');
        i += 2;
        continue;
      }
      quoted = !quoted;
      ++i;
      continue;
    }
    if (!quoted && IsBlank(c)) break;
    out->push_back(c);
    ++i;
  }
  return i;
}

}  // namespace

std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine) {
  std::vector<std::u16string> args;
  if (commandLine.empty()) return args;
  std::u16string program;
  size_t i = TakeProgram(commandLine, &program);
  args.push_back(std::move(program));
  for (;;) {
    while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
    if (i >= commandLine.size()) break;
    std::u16string arg;
    i = TakeArgument(commandLine, i, &arg);
    args.push_back(std::move(arg));
  }
  return args;
}

}  // namespace tavrel::platform
