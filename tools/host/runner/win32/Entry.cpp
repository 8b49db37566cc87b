// The arguments arrive as UTF-16 through wmain (the C runtime's narrow argv
// would lose every letter outside the ANSI code page) and go on as UTF-8.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "platform/win32/WideText.h"
#include "tools/host/runner/Main.h"

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  arguments.reserve(static_cast<std::size_t>(argc));
  for (int i = 0; i < argc; ++i) {
    arguments.push_back(tavrel::text::ToUtf8(tavrel::platform::win32::FromWide(argv[i])));
  }
  std::vector<char*> pointers;
  pointers.reserve(arguments.size() + 1);
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  return tavrel::hostrunner::Run(argc, pointers.data());
}
