#include "tools/embroidery/AppRegistry.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "platform/Text.h"

namespace tavrel::embroidery_standin {

namespace {

constexpr const char* kHeader = "Windows Registry Editor Version 5.00";

std::string Quoted(std::u16string_view s) {
  std::string out = "\"";
  for (char c : text::ToUtf8(s)) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

// The file's sections (each from its "[" line to the next), without the one of `key`.
std::vector<std::string> OtherSections(const std::filesystem::path& file, std::u16string_view key) {
  std::ifstream in(file, std::ios::binary);
  const std::string own = "[HKEY_CURRENT_USER\\" + text::ToUtf8(key) + "]";
  std::vector<std::string> sections;
  bool skipping = false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(kHeader, 0) == 0 || (line.empty() && sections.empty())) continue;
    if (!line.empty() && line[0] == '[') {
      skipping = line == own;
      if (!skipping) sections.emplace_back();
    }
    if (skipping || line.empty() || sections.empty()) continue;
    sections.back() += line + "\r\n";
  }
  return sections;
}

std::string Write(const std::filesystem::path& file, const std::vector<std::string>& sections) {
  std::ostringstream text;
  text << kHeader << "\r\n";
  for (const std::string& section : sections) text << "\r\n" << section;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text.str();
  return out.flush() ? std::string() : "cannot write " + file.string();
}

}  // namespace

bool RegistersInFile() { return true; }

std::string RegisterApplication(std::u16string_view key, std::u16string_view folder,
                                const std::filesystem::path& regFile) {
  std::vector<std::string> sections = OtherSections(regFile, key);
  sections.push_back("[HKEY_CURRENT_USER\\" + text::ToUtf8(key) + "]\r\n\"AppPath\"=" + Quoted(folder) +
                     "\r\n");
  return Write(regFile, sections);
}

std::string UnregisterApplication(std::u16string_view key, const std::filesystem::path& regFile) {
  if (!std::filesystem::exists(regFile)) return std::string();
  return Write(regFile, OtherSections(regFile, key));
}

std::filesystem::path OwnProgram() { return std::filesystem::read_symlink("/proc/self/exe"); }

}  // namespace tavrel::embroidery_standin
