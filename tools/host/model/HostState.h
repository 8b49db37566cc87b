// What the stand-in host's objects share: the open drawings and selection,
// the plug-in's commands, buttons and event subscriptions, the injected
// failures and the record of every call. Each host object holds it through
// a shared pointer, so objects the plug-in keeps stay usable.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/Com.h"
#include "tools/host/svg/Drawing.h"

namespace tavrel::hostmodel {

// What an operation answers instead of its work: fail with `hr` and error
// information; succeed with an empty result (a null object, 0, a null
// string); succeed with a string that is empty, 32,767 units long or has a
// NUL inside; succeed with a window handle that names no window.
enum class Way { Code, Empty, EmptyString, LongString, EmbeddedNul, BadHandle };

// An injected failure: from its fromCall-th call on (only at that call when
// `once`), the operation answers the `way`, or throws std::bad_alloc at its
// caller.
struct Failure {
  int fromCall = 1;
  HRESULT hr = E_FAIL;
  std::u16string description;
  bool throws = false;
  Way way = Way::Code;
  bool once = false;
};

// The answer of each way that substitutes a value: a string, or the handle
// of no window.
std::u16string SubstituteString(Way way);
constexpr intptr_t kNoWindow = 0x0DEAD0;

struct PluginCommand {
  std::u16string name;
  std::u16string caption;
  std::u16string tooltip;
};

// A temporary button lives as long as the command it raises: removing the
// command removes it, as a real host drops a dead temporary control.
struct CommandButton {
  int serial = 0;  // the host's own number for it, never reused
  std::u16string bar;
  std::u16string buttonId;
  std::u16string command;
  LONG position = 0;
  VARIANT_BOOL temporary = VARIANT_FALSE;
  std::u16string icon;
};

struct HostState {
  std::u16string hostFolder;
  std::u16string settingsFolder;
  intptr_t mainWindow = 0;
  bool requireIconFiles = true;

  struct Document {
    int serial = 0;
    Drawing drawing;
  };
  std::vector<Document> documents;  // the last one is active
  int nextSerial = 1;
  std::vector<std::size_t> selection;  // shape indices on the active page

  std::vector<PluginCommand> commands;
  std::vector<CommandButton> buttons;
  int nextButton = 1;
  std::map<LONG, IDispatch*> sinks;  // each holds one reference
  LONG nextCookie = 1;

  std::map<std::string, Failure> failures;
  std::map<std::string, int> calls;
  // While an operation's body runs: the way its value is to be replaced
  // (a string or a handle), if any.
  const Failure* substitute = nullptr;

  // What Document.ExportToFile answers when it succeeds, and whether it
  // writes the file.
  LONG exportStatus = 0;
  bool exportWrites = true;

  // References held on host objects, by interface name.
  std::map<std::string, long> references;

  std::deque<int> messageBoxAnswers;

  std::vector<nlohmann::json> records;
  std::function<void(const nlohmann::json&)> onRecord;

  HostState() = default;
  HostState(const HostState&) = delete;
  HostState& operator=(const HostState&) = delete;
  ~HostState();

  void Record(nlohmann::json record);

  // Runs one host operation: counts the call, applies an injected failure
  // (a throwing one is recorded, then thrown), runs `body` (which fills the result or fails with a code and a
  // description), hands a failure's description to the thread's error
  // information and records the call.
  using Body = std::function<HRESULT(nlohmann::json& result, std::u16string& error)>;
  HRESULT Call(const std::string& operation, nlohmann::json arguments, const Body& body);

  const Document* Active() const { return documents.empty() ? nullptr : &documents.back(); }
  // The open document with that serial number, or null once it is closed.
  const Document* Find(int serial) const;
};

// Text for logs.
std::string Utf8(std::u16string_view text);
std::string HexCode(HRESULT hr);

}  // namespace tavrel::hostmodel
