#include "tools/host/runner/Scenario.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "host/Bstr.h"
#include "host/ComPtr.h"
#include "platform/File.h"
#include "platform/Text.h"
#include "tools/host/model/AllocationGate.h"
#include "tools/host/model/VariantText.h"
#include "tools/host/runner/Resources.h"

namespace tavrel::hostrunner {
namespace {

using nlohmann::json;

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::string Rest(const std::vector<std::string>& words, std::size_t from) {
  std::string text;
  for (std::size_t i = from; i < words.size(); ++i) text += (i == from ? "" : " ") + words[i];
  return text;
}

long Integer(const std::string& word) {
  std::size_t used = 0;
  const long value = std::stol(word, &used, 0);
  if (used != word.size()) throw std::invalid_argument("not a number: " + word);
  return value;
}

void Need(const std::vector<std::string>& words, std::size_t count, const char* usage) {
  if (words.size() < count) throw std::invalid_argument(std::string("usage: ") + usage);
}

}  // namespace

Scenario::Scenario(hostmodel::HostModel& model, AttachPluginFn attach, std::filesystem::path folder,
                   std::filesystem::path stateDir)
    : model_(model), attach_(attach), folder_(std::move(folder)), stateDir_(std::move(stateDir)) {
  // What each settings dialog showed when it opened, where it opened.
  answerer_.OnDialog([this](const dialogdriver::DialogObservation& seen) {
    json applications = json::array();
    for (const auto& name : seen.applications) applications.push_back(text::ToUtf8(name));
    Record({{"kind", "dialog"},
            {"title", text::ToUtf8(seen.title)},
            {"applications", applications},
            {"item-data", seen.itemData},
            {"selected", seen.selected},
            {"applications-enabled", seen.applicationsEnabled},
            {"export-types", seen.exportTypesChecked},
            {"optimise", seen.optimiseChecked},
            {"answered", seen.answered}});
  });
}

std::filesystem::path Scenario::Resolve(const std::string& file) const {
  constexpr std::string_view kState = "<state>/";
  if (file.starts_with(kState)) return stateDir_ / std::filesystem::u8path(file.substr(kState.size()));
  return folder_ / std::filesystem::u8path(file);
}

Scenario::~Scenario() = default;

int Scenario::Run(std::istream& script) {
  int errors = 0;
  int number = 0;
  for (std::string line; std::getline(script, line);) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string> words = Words(line);
    if (words.empty() || words[0][0] == '#') continue;
    try {
      Perform(words);
    } catch (const std::exception& e) {
      ++errors;
      Record({{"kind", "scenario-error"}, {"line", number}, {"message", e.what()}});
      if (onError_) onError_(number, e.what());
    }
  }
  return errors;
}

void Scenario::Record(json record) { model_.AddRecord(std::move(record)); }

void Scenario::Perform(const std::vector<std::string>& words) {
  const std::string& action = words[0];
  if (action == "attach") {
    Attach();
  } else if (action == "load" || action == "activate" || action == "deactivate" || action == "unload" ||
             action == "release") {
    Notify(action + (words.size() > 1 && words[1] == "null" ? " null" : ""));
  } else if (action == "open") {
    Need(words, 2, "open FILE");
    model_.OpenDrawing(Resolve(Rest(words, 1)));
  } else if (action == "close") {
    if (!model_.CloseDrawing()) throw std::runtime_error("no drawing is open");
  } else if (action == "select") {
    Select(words);
  } else if (action == "event") {
    Event(words);
  } else if (action == "state") {
    Need(words, 2, "state COMMAND");
    CommandState(Rest(words, 1));
  } else if (action == "click") {
    Need(words, 2, "click COMMAND");
    Event({"event", "20", "bstr:" + Rest(words, 1)});
  } else if (action == "answer-dialog") {
    AnswerDialog(words);
  } else if (action == "answer-box") {
    Need(words, 2, "answer-box ok|cancel|yes|no|NUMBER");
    AnswerBox(words[1]);
  } else if (action == "fail") {
    Fail(words);
  } else if (action == "references") {
    References();
  } else if (action == "export-outcome") {
    // export-outcome STATUS write|no-write: what the host's export answers
    // the plug-in from now on, and whether it writes the file.
    Need(words, 3, "export-outcome STATUS write|no-write");
    model_.SetExportOutcome(static_cast<LONG>(Integer(words[1])), words[2] == "write");
  } else if (action == "resources") {
    // The records and dialog observations kept so far are in the log
    // already; kept on, they would be counted as the plug-in's growth.
    model_.ClearRecords();
    answerer_.ForgetObserved();
    json record = ProcessResources();
    record["kind"] = "resources";
    // The buttons the host holds: a temporary one goes with its command.
    record["host-buttons"] = model_.Buttons().size();
    Record(std::move(record));
  } else if (action == "export") {
    Export(words);
  } else if (action.starts_with("file-")) {
    FileAction(words);
  } else {
    throw std::invalid_argument("unknown action: " + action);
  }
}

// What other programs and the user do to files meanwhile: write, delete,
// make read-only, hold open without sharing (until file-release); and the
// file another program writes when it is done (a started program's receipt),
// waited for and taken away, so the next wait waits for the next one.
void Scenario::FileAction(const std::vector<std::string>& words) {
  const std::string& action = words[0];
  if (action == "file-release") {
    heldFile_.Close();
    return;
  }
  Need(
      words, 2,
      "file-write FILE [TEXT...] | file-delete FILE | file-readonly FILE | file-hold FILE | file-await FILE");
  const std::u16string path = Resolve(words[1]).make_preferred().u16string();
  if (action == "file-await") {
    constexpr auto kPatience = std::chrono::seconds(60);
    const auto start = std::chrono::steady_clock::now();
    while (!platform::RemoveFile(path)) {
      if (std::chrono::steady_clock::now() - start > kPatience)
        throw std::runtime_error("no " + words[1] + " within a minute");
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  } else if (action == "file-write") {
    const std::string content = Rest(words, 2);
    platform::File file = platform::File::Open(path, platform::FileAccess::ReadWrite, platform::kShareRead,
                                               platform::FileDisposition::CreateAlways);
    uint32_t done = 0;
    if (!file ||
        (!content.empty() && !file.Write(content.data(), static_cast<uint32_t>(content.size()), &done))) {
      throw std::runtime_error("cannot write " + words[1]);
    }
  } else if (action == "file-delete") {
    if (!platform::RemoveFile(path)) throw std::runtime_error("cannot delete " + words[1]);
  } else if (action == "file-readonly") {
    if (platform::Chmod(path, platform::kModeRead) != 0)
      throw std::runtime_error("cannot protect " + words[1]);
  } else if (action == "file-hold") {
    heldFile_ = platform::File::Open(path, platform::FileAccess::Read, platform::kShareNone,
                                     platform::FileDisposition::OpenExisting);
    if (!heldFile_) throw std::runtime_error("cannot hold " + words[1]);
  } else {
    throw std::invalid_argument("unknown action: " + action);
  }
}

void Scenario::Attach() {
  if (attached_) throw std::runtime_error("the plug-in is attached already");
  host::IVGAppPlugin* plugin = nullptr;
  LONG result = 0;
  {
    const hostmodel::allocation::PluginRuns running;
    result = attach_(&plugin);
  }
  attached_ = true;
  plugin_ = plugin;
  json record = {{"kind", "attach"}, {"result", result}, {"plugin", plugin != nullptr}};
  if (plugin != nullptr) record["refs"] = Count();
  Record(std::move(record));
}

host::IVGAppPlugin* Scenario::Plugin() {
  if (!attached_) Attach();
  if (plugin_ == nullptr) throw std::runtime_error("the host holds no plug-in object");
  return plugin_;
}

ULONG Scenario::Count() {
  plugin_->AddRef();
  return plugin_->Release();
}

void Scenario::Notify(const std::string& what) {
  host::IVGAppPlugin* plugin = Plugin();
  HRESULT hr = S_OK;
  std::optional<hostmodel::allocation::PluginRuns> running(std::in_place);
  if (what == "load") hr = plugin->OnLoad(model_.Application());
  if (what == "load null") hr = plugin->OnLoad(nullptr);
  if (what == "activate") hr = plugin->StartSession();
  if (what == "deactivate") hr = plugin->StopSession();
  if (what == "unload") hr = plugin->OnUnload();
  if (what != "release") running.reset();
  if (what == "release") {
    const ULONG left = plugin->Release();
    running.reset();
    if (left == 0) plugin_ = nullptr;
    Record({{"kind", "notify"}, {"what", what}, {"refs", left}});
    return;
  }
  Record({{"kind", "notify"}, {"what", what}, {"hr", hostmodel::HexCode(hr)}, {"refs", Count()}});
}

void Scenario::Event(const std::vector<std::string>& words) {
  Need(words, 2, "event NUMBER [null-block] [TYPE:VALUE...]");
  const auto id = static_cast<DISPID>(Integer(words[1]));
  host::IVGAppPlugin* plugin = Plugin();
  hostmodel::VariantList arguments;
  bool nullBlock = false;
  json shown = json::array();
  for (std::size_t i = 2; i < words.size(); ++i) {
    if (words[i] == "null-block") {
      nullBlock = true;
      continue;
    }
    arguments.Add(words[i]);
    shown.push_back(words[i]);
  }
  const bool toSinks = !model_.Sinks().empty();
  const auto delivery = model_.SendEvent(id, arguments.Items(), nullBlock, plugin);
  json after = json::array();
  for (std::size_t i = 0; i < arguments.Size(); ++i) after.push_back(hostmodel::VariantToText(arguments[i]));
  json record = {{"kind", "event"},
                 {"id", id},
                 {"args", shown},
                 {"hr", hostmodel::HexCode(delivery.hr)},
                 {"to", toSinks ? "sinks" : "plugin"},
                 {"receivers", delivery.receivers}};
  if (after != shown) record["args-after"] = after;
  if (plugin_ != nullptr) record["refs"] = Count();
  Record(std::move(record));
}

void Scenario::CommandState(const std::string& name) {
  host::IVGAppPlugin* plugin = Plugin();
  // 1 is neither answer, so an untouched flag shows as null.
  constexpr VARIANT_BOOL kUntouched = 1;
  hostmodel::VariantList arguments;
  arguments.Add("bstr:" + name);
  arguments.Add("byref-bool:" + std::to_string(kUntouched));
  arguments.Add("i4:0");
  const auto delivery = model_.SendEvent(21, arguments.Items(), false, plugin);
  const VARIANT_BOOL enabled = *arguments[1].pboolVal;
  Record({{"kind", "command-state"},
          {"command", name},
          {"enabled", enabled == kUntouched ? json(nullptr) : json(enabled)},
          {"hr", hostmodel::HexCode(delivery.hr)}});
}

void Scenario::Select(const std::vector<std::string>& words) {
  Need(words, 2, "select none | select INDEX... | select #ID...");
  if (words[1] == "none") {
    model_.SelectNone();
    return;
  }
  std::vector<std::size_t> indices;
  std::vector<std::string> ids;
  for (std::size_t i = 1; i < words.size(); ++i) {
    if (words[i][0] == '#') {
      ids.push_back(words[i].substr(1));
    } else {
      indices.push_back(static_cast<std::size_t>(Integer(words[i])));
    }
  }
  if (!ids.empty() && !indices.empty()) throw std::invalid_argument("select by index or by id, not both");
  if (ids.empty()) {
    model_.SelectByIndex(indices);
  } else {
    model_.SelectById(ids);
  }
}

// answer-dialog apply|cancel|escape|enter|close [app=NAME] [export=N] [optimise=0|1]
// NAME may be quoted ("Kyro Vesk").
void Scenario::AnswerDialog(const std::vector<std::string>& words) {
  Need(words, 2, "answer-dialog apply|cancel|escape|enter|close [app=NAME] [export=N] [optimise=0|1]");
  static const std::map<std::string, dialogdriver::DialogClose> closes = {
      {"apply", dialogdriver::DialogClose::Apply},
      {"cancel", dialogdriver::DialogClose::Cancel},
      {"escape", dialogdriver::DialogClose::Escape},
      {"enter", dialogdriver::DialogClose::Enter},
      {"close", dialogdriver::DialogClose::CloseBox}};
  const auto close = closes.find(words[1]);
  if (close == closes.end()) throw std::invalid_argument("answer-dialog apply|cancel|escape|enter|close");
  dialogdriver::DialogAnswer answer;
  answer.close = close->second;
  const std::string rest = Rest(words, 2);
  std::size_t at = 0;
  while (at < rest.size()) {
    const std::size_t equals = rest.find('=', at);
    if (equals == std::string::npos) throw std::invalid_argument("expected KEY=VALUE in: " + rest.substr(at));
    const std::string key = rest.substr(at, equals - at);
    std::string value;
    std::size_t next;
    if (equals + 1 < rest.size() && rest[equals + 1] == '"') {
      const std::size_t quote = rest.find('"', equals + 2);
      if (quote == std::string::npos) throw std::invalid_argument("unterminated quote in: " + rest);
      value = rest.substr(equals + 2, quote - equals - 2);
      next = quote + 1;
    } else {
      next = std::min(rest.find(' ', equals), rest.size());
      value = rest.substr(equals + 1, next - equals - 1);
    }
    if (key == "app") {
      answer.application = text::FromUtf8(value);
    } else if (key == "export") {
      answer.exportType = static_cast<int>(Integer(value));
    } else if (key == "optimise") {
      answer.optimise = Integer(value) != 0;
    } else {
      throw std::invalid_argument("unknown answer: " + key);
    }
    at = next;
    while (at < rest.size() && rest[at] == ' ') ++at;
  }
  answerer_.Push(std::move(answer));
}

void Scenario::AnswerBox(const std::string& answer) {
  static const std::map<std::string, int> buttons = {{"ok", 1}, {"cancel", 2}, {"yes", 6}, {"no", 7}};
  const auto found = buttons.find(answer);
  model_.AnswerNextMessageBox(found != buttons.end() ? found->second : static_cast<int>(Integer(answer)));
}

void Scenario::Export(const std::vector<std::string>& words) {
  Need(words, 3, "export RANGE FILE");
  const auto range = static_cast<LONG>(Integer(words[1]));
  const std::filesystem::path file = std::filesystem::absolute(Resolve(Rest(words, 2))).make_preferred();
  host::ComPtr<host::IHostDocument> document;
  HRESULT hr = model_.Application()->get_ActiveDocument(document.Put());
  if (SUCCEEDED(hr) && !document) throw std::runtime_error("no drawing is open");
  LONG status = 0;
  if (SUCCEEDED(hr)) {
    hr = document->ExportToFile(host::Bstr(file.u16string()).Get(), host::kFilterEmf, range, 0, 0, &status);
  }
  if (FAILED(hr)) throw std::runtime_error("the export failed with " + hostmodel::HexCode(hr));
}

// fail OPERATION CALL [once] HRESULT [DESCRIPTION...] | fail OPERATION CALL
// [once] null|empty-string|long-string|nul-string|bad-handle|throw
void Scenario::Fail(const std::vector<std::string>& words) {
  constexpr const char* kUsage =
      "fail OPERATION CALL [once] HRESULT [DESCRIPTION...] | fail OPERATION CALL [once] "
      "null|empty-string|long-string|nul-string|bad-handle|throw";
  Need(words, 4, kUsage);
  hostmodel::Failure failure;
  failure.fromCall = static_cast<int>(Integer(words[2]));
  std::size_t next = 3;
  if (words[next] == "once") {
    failure.once = true;
    Need(words, ++next + 1, kUsage);
  }
  static const std::map<std::string, hostmodel::Way> kWays = {{"null", hostmodel::Way::Empty},
                                                              {"empty-string", hostmodel::Way::EmptyString},
                                                              {"long-string", hostmodel::Way::LongString},
                                                              {"nul-string", hostmodel::Way::EmbeddedNul},
                                                              {"bad-handle", hostmodel::Way::BadHandle}};
  const std::string& way = words[next];
  if (way == "throw") {
    failure.throws = true;
  } else if (const auto found = kWays.find(way); found != kWays.end()) {
    failure.way = found->second;
    failure.hr = S_OK;
  } else {
    failure.hr = static_cast<HRESULT>(static_cast<unsigned long>(std::stoul(way, nullptr, 0)));
    failure.description = text::FromUtf8(Rest(words, next + 1));
  }
  model_.Inject(words[1], std::move(failure));
}

// What the host still holds for the plug-in and gives it: references to
// host objects by interface (the host's own to the application left out)
// and event subscriptions.
void Scenario::References() {
  json references = json::object();
  for (const auto& [name, count] : model_.OutstandingReferences()) references[name] = count;
  Record({{"kind", "references"}, {"host-objects", references}, {"subscriptions", model_.Sinks().size()}});
}

}  // namespace tavrel::hostrunner
