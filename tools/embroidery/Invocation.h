// How the embroidery stand-in was started, as its platform tells it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavrel::embroidery_standin {

struct Invocation {
  // The whole command line (Windows only; POSIX programs get none).
  std::optional<std::string> commandLine;
  // The arguments in UTF-8, the program first.
  std::vector<std::string> arguments;
  // The current folder it was started in, UTF-8.
  std::string currentFolder;
};

Invocation ReadInvocation(int argc, char** argv);

// The value of an environment variable, if set.
std::optional<std::filesystem::path> PathFromEnvironment(const char* name);

// A file argument as the platform opens it (POSIX: backslashes become
// slashes, as the Windows program would read them as separators).
std::filesystem::path FileFromArgument(const std::string& argument);

}  // namespace tavrel::embroidery_standin
