// Makes logs of the two builds comparable: every string in a record that
// begins with one of the run's folders (as the plug-in sees them) gets that
// folder replaced by an alias ("<host>", "<settings>", "<state>"), and the
// rest of such a string has its backslashes turned into slashes.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

namespace tavrel::hostrunner {

class LogNormaliser {
 public:
  // Longer folders are tried first, so a folder inside another wins.
  void Add(std::string folder, std::string alias);
  nlohmann::json Apply(const nlohmann::json& record) const;

 private:
  std::string ApplyTo(const std::string& text) const;
  std::vector<std::pair<std::string, std::string>> folders_;
};

}  // namespace tavrel::hostrunner
