#include "tools/embroidery/Receipt.h"

#include <nlohmann/json.hpp>

#include "tools/emf/EmfCheck.h"

namespace tavrel::embroidery_standin {

namespace {

constexpr const char* kSwitches[] = {"-opt", "-direct", "-wizard"};

bool IsKnownSwitch(const std::string& argument) {
  for (const char* known : kSwitches) {
    if (argument == known) return true;
  }
  return false;
}

nlohmann::json RectJson(const emf::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

nlohmann::json EmfJson(const emf::EmfReport& report) {
  return {{"wellFormed", report.wellFormed},
          {"error", report.error},
          {"size", report.fileSize},
          {"records", report.recordCount},
          {"bounds", RectJson(report.bounds)},
          {"frame", RectJson(report.frame)},
          {"drawingRecords", report.drawingRecords}};
}

}  // namespace

Outcome Examine(const Invocation& invocation) {
  nlohmann::json receipt;
  receipt["commandLine"] =
      invocation.commandLine ? nlohmann::json(*invocation.commandLine) : nlohmann::json();
  receipt["arguments"] = invocation.arguments;
  receipt["currentFolder"] = invocation.currentFolder;
  nlohmann::json switches = nlohmann::json::array();
  nlohmann::json others = nlohmann::json::array();
  std::optional<std::string> file;
  for (size_t i = 1; i < invocation.arguments.size(); ++i) {
    const std::string& argument = invocation.arguments[i];
    if (IsKnownSwitch(argument)) {
      switches.push_back(argument);
    } else if (!file) {
      file = argument;
    } else {
      others.push_back(argument);
    }
  }
  receipt["switches"] = switches;
  receipt["unrecognised"] = others;
  Outcome outcome;
  if (!file) {
    receipt["file"] = nullptr;
    receipt["error"] = "no drawing file was given";
    outcome.exitCode = 2;
  } else {
    receipt["file"] = *file;
    const emf::EmfReport report = emf::CheckEmfFile(FileFromArgument(*file));
    receipt["emf"] = EmfJson(report);
    if (!report.wellFormed) {
      receipt["error"] =
          "the drawing file is missing or not a well-formed enhanced metafile: " + report.error;
      outcome.exitCode = 1;
    }
  }
  receipt["wellFormed"] = outcome.exitCode == 0;
  outcome.receipt = receipt.dump(2);
  return outcome;
}

}  // namespace tavrel::embroidery_standin
