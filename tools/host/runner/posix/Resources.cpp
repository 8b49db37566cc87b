#include "tools/host/runner/Resources.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tavrel::hostrunner {

nlohmann::json ProcessResources() {
  long rss = -1;
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) rss = std::stol(line.substr(6));
  }
  std::error_code error;
  const auto fds = std::distance(std::filesystem::directory_iterator("/proc/self/fd", error),
                                 std::filesystem::directory_iterator());
  // No GDI or USER objects natively.
  return {{"rss-kb", rss}, {"fds", error ? -1 : fds}};
}

}  // namespace tavrel::hostrunner
