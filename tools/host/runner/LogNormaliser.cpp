#include "tools/host/runner/LogNormaliser.h"

#include <algorithm>

namespace tavrel::hostrunner {
namespace {

// Folder spellings compare with either separator.
bool SameSeparated(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char x = a[i] == '\\' ? '/' : a[i];
    const char y = b[i] == '\\' ? '/' : b[i];
    if (x != y) return false;
  }
  return true;
}

}  // namespace

void LogNormaliser::Add(std::string folder, std::string alias) {
  while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  folders_.emplace_back(std::move(folder), std::move(alias));
  std::stable_sort(folders_.begin(), folders_.end(),
                   [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
}

std::string LogNormaliser::ApplyTo(const std::string& text) const {
  // A folder may appear after a quote or a space (inside a command line).
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (at != 0 && text[at - 1] != '"' && text[at - 1] != ' ') continue;
    for (const auto& [folder, alias] : folders_) {
      if (folder.empty() || !SameSeparated(std::string_view(text).substr(at, folder.size()), folder))
        continue;
      std::string rest = text.substr(at + folder.size());
      std::replace(rest.begin(), rest.end(), '\\', '/');
      return text.substr(0, at) + alias + ApplyTo(rest);
    }
  }
  return text;
}

nlohmann::json LogNormaliser::Apply(const nlohmann::json& record) const {
  if (record.is_string()) return ApplyTo(record.get<std::string>());
  if (record.is_array() || record.is_object()) {
    nlohmann::json copy = record;
    for (auto& item : copy) item = Apply(item);
    return copy;
  }
  return record;
}

}  // namespace tavrel::hostrunner
