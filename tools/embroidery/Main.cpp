// The embroidery stand-in: started by the plug-in under the name of one of
// the embroidery applications, it records how it was started, checks the
// drawing file and writes a receipt to the file named by
// TAVREL_EMBROIDERY_RECEIPT (or to standard output), then exits.
// `--list-applications` alone prints the plug-in's application table as JSON;
// `--install` and `--uninstall` set up applications (InstallCommand.h).
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "tools/embroidery/Applications.h"
#include "tools/embroidery/InstallCommand.h"
#include "tools/embroidery/Invocation.h"
#include "tools/embroidery/Receipt.h"

namespace {

// Writes beside the target and renames, so a reader never sees half a receipt.
bool WriteReceipt(const std::filesystem::path& target, const std::string& text) {
  std::filesystem::path temp = target;
  temp += ".partial";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << text << '\n';
    if (!out.flush()) return false;
  }
  std::error_code ec;
  std::filesystem::rename(temp, target, ec);
  return !ec;
}

}  // namespace

int main(int argc, char** argv) try {
  using namespace tavrel::embroidery_standin;
  if (argc == 2 && std::strcmp(argv[1], "--list-applications") == 0) {
    std::printf("%s\n", ApplicationsJson().c_str());
    return 0;
  }
  Invocation invocation = ReadInvocation(argc, argv);
  std::error_code ec;
  const std::u8string folder = std::filesystem::current_path(ec).u8string();
  invocation.currentFolder.assign(folder.begin(), folder.end());
  if (IsInstallCommand(invocation.arguments)) return RunInstallCommand(invocation.arguments);
  const Outcome outcome = Examine(invocation);
  const auto target = PathFromEnvironment("TAVREL_EMBROIDERY_RECEIPT");
  if (!target) {
    std::printf("%s\n", outcome.receipt.c_str());
  } else if (!WriteReceipt(*target, outcome.receipt)) {
    std::fprintf(stderr, "cannot write the receipt\n");
    return 3;
  }
  return outcome.exitCode;
} catch (const std::exception& e) {
  std::fprintf(stderr, "tavrel-embroidery: stopped: %s\n", e.what());
  return 3;
} catch (...) {
  std::fprintf(stderr, "tavrel-embroidery: stopped\n");
  return 3;
}
