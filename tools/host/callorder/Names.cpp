#include <array>
#include <sstream>

#include "tools/host/callorder/CallOrder.h"

namespace tavrel::callorder {

namespace {

constexpr std::array<const char*, kStepCount> kStepNames = {
    "load",     "load-null",  "activate",       "deactivate",      "unload", "event-17",
    "event-21", "click-send", "settings-apply", "settings-cancel", "addref", "release"};
constexpr std::array<const char*, kPointCount> kPointNames = {"export", "dialog"};
constexpr std::array<const char*, kActionCount> kActionNames = {
    "event-17", "event-21", "click-send", "activate", "choose-other", "unload", "release-last"};

template <class Enum, std::size_t N>
bool Find(const std::array<const char*, N>& names, const std::string& name, Enum* value) {
  for (std::size_t i = 0; i < N; ++i) {
    if (name == names[i]) {
      *value = static_cast<Enum>(i);
      return true;
    }
  }
  return false;
}

}  // namespace

std::string Name(Step step) { return kStepNames[static_cast<std::size_t>(step)]; }
std::string Name(Point point) { return kPointNames[static_cast<std::size_t>(point)]; }
std::string Name(Action action) { return kActionNames[static_cast<std::size_t>(action)]; }

bool ParseSteps(const std::string& text, std::vector<Step>* steps) {
  std::istringstream in(text);
  std::string name;
  while (std::getline(in, name, ',')) {
    Step step{};
    if (!Find(kStepNames, name, &step)) return false;
    steps->push_back(step);
  }
  return true;
}

bool ParseReentry(const std::string& text, Reentry* reentry) {
  const std::size_t colon = text.find(':');
  return colon != std::string::npos && Find(kPointNames, text.substr(0, colon), &reentry->point) &&
         Find(kActionNames, text.substr(colon + 1), &reentry->action);
}

}  // namespace tavrel::callorder
