// The call-order campaign: the stand-in host drives the plug-in in-process
// through a sequence of entry points, optionally re-entering it from inside
// the export or the settings dialog, ends the session the way a host does
// (deactivate, unload, release) and checks what is left.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace tavrel::callorder {

// What the host can do to the plug-in between two of its own actions.
enum class Step {
  Load,
  LoadNull,
  Activate,
  Deactivate,
  Unload,
  Event17,
  Event21,
  ClickSend,
  ClickSettingsApply,
  ClickSettingsCancel,
  AddRef,   // the host takes an extra reference...
  Release,  // ...and gives one back (nothing when it holds none)
};
inline constexpr std::size_t kStepCount = 12;

// Where the host re-enters the plug-in, and what it does there.
enum class Point { Export, Dialog };
enum class Action { Event17, Event21, ClickSend, Activate, ChooseOther, Unload, ReleaseLast };
inline constexpr std::size_t kPointCount = 2;
inline constexpr std::size_t kActionCount = 7;

struct Reentry {
  Point point;
  Action action;
};

std::string Name(Step step);
std::string Name(Point point);
std::string Name(Action action);
// "activate,click-send" back into steps; false on an unknown name.
bool ParseSteps(const std::string& text, std::vector<Step>* steps);
bool ParseReentry(const std::string& text, Reentry* reentry);

struct SessionResult {
  std::vector<std::string> faults;  // every check that failed, in words
  int boxes = 0;                    // message boxes shown
  bool reentered = false;           // the re-entry point was reached
  int exports = 0;                  // files the host exported
  long programs = 0;                // programs started (-1: not counted here)
};

// The host folder, registry, captured effects and dialog answers shared by
// every session of a run; each session gets a fresh host and plug-in.
class Campaign {
 public:
  Campaign();
  ~Campaign();
  Campaign(const Campaign&) = delete;
  Campaign& operator=(const Campaign&) = delete;

  SessionResult Run(const std::vector<Step>& steps, const Reentry* reentry);

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace tavrel::callorder
