#include "tools/dialogdriver/posix/TerminalPrompt.h"

#include <fstream>
#include <iostream>
#include <string>

#include "platform/Text.h"

namespace tavrel::dialogdriver {

namespace {

constexpr const char* kExportTypes[3] = {"Load vector data only.", "Create embroidery objects directly.",
                                         "Start with Kalder wizard after load."};

bool Checked(const DialogObservation& seen, int type) {
  for (int t : seen.exportTypesChecked) {
    if (t == type) return true;
  }
  return false;
}

std::optional<std::string> ReadLine(std::istream& in, const std::string& question) {
  std::cerr << question << std::flush;
  std::string line;
  if (!std::getline(in, line)) return std::nullopt;
  return line;
}

}  // namespace

std::optional<DialogAnswer> AskAtTerminal(const DialogObservation& seen) {
  std::ifstream terminal("/dev/tty");
  if (!terminal) return std::nullopt;
  std::cerr << "\n== " << text::ToUtf8(seen.title) << " ==\n"
            << "Select one of the available Embroidery applications as an export target:\n";
  if (seen.applications.empty()) std::cerr << "   (none installed)\n";
  for (size_t i = 0; i < seen.applications.size(); ++i) {
    std::cerr << "   " << i + 1 << ") " << text::ToUtf8(seen.applications[i])
              << (static_cast<int>(i) == seen.selected ? "   <- selected" : "") << "\n";
  }
  std::cerr << "Export type:\n";
  for (int type = 0; type < 3; ++type) {
    std::cerr << "   " << static_cast<char>('a' + type) << ") (" << (Checked(seen, type) ? '*' : ' ') << ") "
              << kExportTypes[type] << "\n";
  }
  std::cerr << "[" << (seen.optimiseChecked ? 'x' : ' ') << "] Optimize curve data\n";

  DialogAnswer answer;
  if (seen.applicationsEnabled && !seen.applications.empty()) {
    const auto line = ReadLine(terminal, "Application number (Enter keeps it): ");
    if (!line) return std::nullopt;
    const int n = text::ParseInt(text::FromUtf8(*line));
    if (n >= 1 && static_cast<size_t>(n) <= seen.applications.size()) {
      answer.application = seen.applications[static_cast<size_t>(n - 1)];
    }
  }
  const auto type = ReadLine(terminal, "Export type a, b or c (Enter keeps it): ");
  if (!type) return std::nullopt;
  if (type->size() == 1 && (*type)[0] >= 'a' && (*type)[0] <= 'c') answer.exportType = (*type)[0] - 'a';
  const auto optimise = ReadLine(terminal, "Optimize curve data, y or n (Enter keeps it): ");
  if (!optimise) return std::nullopt;
  if (*optimise == "y" || *optimise == "n") answer.optimise = *optimise == "y";
  const auto close = ReadLine(terminal, "Apply or Cancel, a or c: ");
  if (!close) return std::nullopt;
  answer.close =
      (*close == "a" || *close == "A" || close->empty()) ? DialogClose::Apply : DialogClose::Cancel;
  return answer;
}

}  // namespace tavrel::dialogdriver
