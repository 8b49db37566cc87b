// The stand-in host as a library: an application object over a drawing
// model, which records every operation the plug-in calls and can be made to
// fail. Tests drive plug-in code in-process against it; tavrel-host wraps it
// in a scenario runner.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "host/ComPtr.h"
#include "host/HostApi.h"
#include "tools/host/model/HostState.h"

namespace tavrel::hostmodel {

struct HostOptions {
  // As the host reports them: the host folder ends in a separator, the
  // settings folder does not.
  std::u16string hostFolder;
  std::u16string settingsFolder;
  intptr_t mainWindow = 0;
  // SetIconFromFile fails for a bitmap file that does not exist.
  bool requireIconFiles = true;
};

class HostModel {
 public:
  explicit HostModel(HostOptions options);
  ~HostModel();
  HostModel(const HostModel&) = delete;
  HostModel& operator=(const HostModel&) = delete;

  // The application object (the model keeps its own reference).
  host::IHostApplication* Application() const { return application_.Get(); }

  // Opens an SVG drawing as the new active document (its selection empty);
  // throws std::runtime_error when it cannot be read.
  void OpenDrawing(const std::filesystem::path& svg);
  // Closes the active document; false when none is open.
  bool CloseDrawing();
  std::size_t DocumentCount() const { return state_->documents.size(); }
  const Drawing* ActiveDrawing() const;

  // Selects shapes of the active page by index or by id; throws
  // std::invalid_argument for one that does not exist.
  void SelectByIndex(const std::vector<std::size_t>& indices);
  void SelectById(const std::vector<std::string>& ids);
  void SelectNone() { state_->selection.clear(); }
  const std::vector<std::size_t>& Selection() const { return state_->selection; }

  // Operation names as in the log ("Application.HostFolder",
  // "Document.ExportToFile", ...): from its `fromCall`-th call on (counting
  // from 1, earlier calls included) the operation fails with `hr`, and the
  // thread's error information carries `description`.
  void FailFrom(const std::string& operation, int fromCall, HRESULT hr, std::u16string description);
  // From its `fromCall`-th call on the operation succeeds with an empty
  // result: a null object, 0, a null string.
  void EmptyFrom(const std::string& operation, int fromCall) { FailFrom(operation, fromCall, S_OK, {}); }
  // From its `fromCall`-th call on the operation throws std::bad_alloc at
  // its caller (after recording the call).
  void ThrowFrom(const std::string& operation, int fromCall);
  // Any failure, in any way (replacing the operation's earlier one).
  void Inject(const std::string& operation, Failure failure) {
    state_->failures[operation] = std::move(failure);
  }
  void ClearFailures() { state_->failures.clear(); }
  int CallCount(const std::string& operation) const;
  // The operations called, in order, since the last ClearRecords.
  std::vector<std::string> CalledOperations() const;

  // What a successful export answers (the status, 0 for plain success) and
  // whether it writes the file at all.
  void SetExportOutcome(LONG status, bool writesFile) {
    state_->exportStatus = status;
    state_->exportWrites = writesFile;
  }

  // References others hold on host objects, by interface name, without the
  // model's own reference to the application; empty once every object
  // handed out has been released.
  std::map<std::string, long> OutstandingReferences() const;

  // What the plug-in did.
  const std::vector<PluginCommand>& Commands() const { return state_->commands; }
  const std::vector<CommandButton>& Buttons() const { return state_->buttons; }
  // The subscribed sinks by cookie (no new references).
  std::vector<std::pair<LONG, IDispatch*>> Sinks() const;

  // Delivers an event to every subscribed sink, or to `fallback` when there
  // is none; the arguments are in event order. Returns the last result and
  // how many objects received it.
  struct Delivery {
    HRESULT hr = S_OK;
    int receivers = 0;
  };
  Delivery SendEvent(DISPID id, std::vector<VARIANT> arguments, bool nullBlock, IDispatch* fallback);

  // Pre-answered message boxes, taken in order by whoever shows them.
  void AnswerNextMessageBox(int button) { state_->messageBoxAnswers.push_back(button); }
  std::optional<int> TakeMessageBoxAnswer();

  // The log: one JSON object per host operation called (and per entry the
  // runner adds); `onRecord` sees each as it is added.
  const std::vector<nlohmann::json>& Records() const { return state_->records; }
  void AddRecord(nlohmann::json record) { state_->Record(std::move(record)); }
  void ClearRecords() { state_->records.clear(); }
  void OnRecord(std::function<void(const nlohmann::json&)> observer) {
    state_->onRecord = std::move(observer);
  }

 private:
  std::shared_ptr<HostState> state_;
  host::ComPtr<host::IHostApplication> application_;
};

}  // namespace tavrel::hostmodel
