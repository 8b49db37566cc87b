// Runs a scenario: one action a line against the host model and the plug-in
// object (the language is described in tools/host/README.md). Every outcome
// goes to the model's log.
#pragma once

#include <filesystem>
#include <functional>

#include <istream>
#include <string>
#include <vector>
#include "platform/File.h"
#include "tools/dialogdriver/DialogAnswerer.h"

#include "tools/host/model/HostModel.h"
#include "tools/host/runner/PluginModule.h"

namespace tavrel::hostrunner {

class Scenario {
 public:
  // Files named in the scenario are relative to `folder`, or to `stateDir`
  // when they begin with "<state>/".
  Scenario(hostmodel::HostModel& model, AttachPluginFn attach, std::filesystem::path folder,
           std::filesystem::path stateDir);
  // Dialogs without a prepared answer go to the person at the terminal or
  // screen instead of being closed with Escape.
  void SetInteractive(bool interactive) { answerer_.SetInteractive(interactive); }
  // Told of every failing line (its number from 1 and the message) besides
  // the log's record of it.
  void OnError(std::function<void(int, const std::string&)> sink) { onError_ = std::move(sink); }
  ~Scenario();
  Scenario(const Scenario&) = delete;
  Scenario& operator=(const Scenario&) = delete;

  // Runs every line; returns how many failed (each logged as a scenario
  // error).
  int Run(std::istream& script);
  // Whether the host still holds the plug-in object.
  bool PluginHeld() const { return plugin_ != nullptr; }

 private:
  void Perform(const std::vector<std::string>& words);
  void Attach();
  void Notify(const std::string& what);
  void Event(const std::vector<std::string>& words);
  void CommandState(const std::string& name);
  void Select(const std::vector<std::string>& words);
  void AnswerDialog(const std::vector<std::string>& words);
  void AnswerBox(const std::string& answer);
  void Fail(const std::vector<std::string>& words);
  void References();
  // The host's own export of the active document, as from its menu.
  void Export(const std::vector<std::string>& words);
  void FileAction(const std::vector<std::string>& words);
  void Record(nlohmann::json record);
  host::IVGAppPlugin* Plugin();
  std::filesystem::path Resolve(const std::string& file) const;
  // The plug-in object's count without changing it.
  ULONG Count();

  hostmodel::HostModel& model_;
  AttachPluginFn attach_;
  std::filesystem::path folder_;
  std::filesystem::path stateDir_;
  host::IVGAppPlugin* plugin_ = nullptr;
  bool attached_ = false;
  dialogdriver::DialogAnswerer answerer_{{}};
  platform::File heldFile_;
  std::function<void(int, const std::string&)> onError_;
};

}  // namespace tavrel::hostrunner
