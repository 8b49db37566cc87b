#include "tools/embroidery/InstallCommand.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "export/EmbAppTable.h"
#include "tools/embroidery/AppRegistry.h"
#include "tools/embroidery/Install.h"
#include "tools/embroidery/Invocation.h"

namespace tavrel::embroidery_standin {

namespace {

struct Request {
  bool install = false;
  std::filesystem::path registry;
  std::filesystem::path root;
  std::vector<int> indexes;
};

std::optional<int> Index(const std::string& s) {
  if (s.empty() || s.size() > 3 || s.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  const int index = std::stoi(s);
  if (exporting::AppInfo(index) == nullptr) return std::nullopt;
  return index;
}

int Usage(const std::string& what) {
  std::fprintf(stderr,
               "tavrel-embroidery: %s\nUsage: tavrel-embroidery --install [--registry FILE] ROOT INDEX...\n"
               "       tavrel-embroidery --uninstall [--registry FILE] INDEX...|all\n"
               "INDEX: 1 to %d, as tavrel-embroidery --list-applications prints them\n",
               what.c_str(), static_cast<int>(exporting::kAppCount));
  return 2;
}

// Parses the arguments after the command; "" or what is wrong.
std::string Parse(const std::vector<std::string>& arguments, Request& request) {
  request.install = arguments[1] == "--install";
  std::vector<std::string> rest;
  for (size_t i = 2; i < arguments.size(); ++i) {
    if (arguments[i] == "--registry") {
      if (i + 1 == arguments.size()) return "--registry needs a file";
      request.registry = FileFromArgument(arguments[++i]);
    } else {
      rest.push_back(arguments[i]);
    }
  }
  if (RegistersInFile() && request.registry.empty()) return "this build registers in a file: --registry FILE";
  if (!RegistersInFile() && !request.registry.empty())
    return "this build registers in the registry: no --registry";
  if (request.install) {
    if (rest.empty()) return "no installation folder given";
    request.root = FileFromArgument(rest.front());
    rest.erase(rest.begin());
  }
  if (rest.empty()) return "no application given";
  if (!request.install && rest == std::vector<std::string>{"all"}) {
    for (int index = 1; index <= exporting::kAppCount; ++index) request.indexes.push_back(index);
    return "";
  }
  for (const std::string& s : rest) {
    const std::optional<int> index = Index(s);
    if (!index) return "no embroidery application " + s;
    request.indexes.push_back(*index);
  }
  return "";
}

int Install(const Request& request) {
  const std::filesystem::path program = OwnProgram();
  for (int index : request.indexes) {
    const std::filesystem::path folder = request.root / ApplicationFolderName(index);
    try {
      LayOutApplication(index, folder, program);
    } catch (const std::filesystem::filesystem_error& error) {
      std::fprintf(stderr, "tavrel-embroidery: cannot install application %d: %s\n", index, error.what());
      return 1;
    }
    const std::string failure =
        RegisterApplication(ApplicationKey(index), folder.u16string(), request.registry);
    if (!failure.empty()) {
      std::fprintf(stderr, "tavrel-embroidery: application %d: %s\n", index, failure.c_str());
      return 1;
    }
    std::printf("%s\n", reinterpret_cast<const char*>(folder.u8string().c_str()));
  }
  return 0;
}

int Uninstall(const Request& request) {
  for (int index : request.indexes) {
    const std::string failure = UnregisterApplication(ApplicationKey(index), request.registry);
    if (!failure.empty()) {
      std::fprintf(stderr, "tavrel-embroidery: application %d: %s\n", index, failure.c_str());
      return 1;
    }
  }
  return 0;
}

}  // namespace

bool IsInstallCommand(const std::vector<std::string>& arguments) {
  return arguments.size() >= 2 && (arguments[1] == "--install" || arguments[1] == "--uninstall");
}

int RunInstallCommand(const std::vector<std::string>& arguments) {
  Request request;
  const std::string problem = Parse(arguments, request);
  if (!problem.empty()) return Usage(problem);
  return request.install ? Install(request) : Uninstall(request);
}

}  // namespace tavrel::embroidery_standin
