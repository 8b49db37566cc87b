#include "tools/host/model/HostModel.h"

#include <algorithm>
#include <stdexcept>

#include "tools/host/model/AllocationGate.h"
#include "tools/host/model/FilePath.h"
#include "tools/host/model/HostObject.h"
#include "tools/host/svg/SvgReader.h"

namespace tavrel::hostmodel {

const char* InterfaceName(REFIID iid) {
  static const std::pair<const IID*, const char*> kNames[] = {
      {&host::IID_IHostApplication, "IHostApplication"}, {&host::IID_IHostDocuments, "IHostDocuments"},
      {&host::IID_IHostDocument, "IHostDocument"},       {&host::IID_IHostPage, "IHostPage"},
      {&host::IID_IHostShapes, "IHostShapes"},           {&host::IID_IHostSelection, "IHostSelection"},
      {&host::IID_IHostWindow, "IHostWindow"},           {&host::IID_IHostCommandBars, "IHostCommandBars"},
      {&host::IID_IHostCommandBar, "IHostCommandBar"},   {&host::IID_IHostControls, "IHostControls"},
      {&host::IID_IHostControl, "IHostControl"}};
  for (const auto& [id, name] : kNames) {
    if (*id == iid) return name;
  }
  return "IUnknown";
}

HostModel::HostModel(HostOptions options) : state_(std::make_shared<HostState>()) {
  state_->hostFolder = std::move(options.hostFolder);
  state_->settingsFolder = std::move(options.settingsFolder);
  state_->mainWindow = options.mainWindow;
  state_->requireIconFiles = options.requireIconFiles;
  application_ = host::ComPtr<host::IHostApplication>::Adopt(NewApplication(state_));
}

HostModel::~HostModel() { state_->onRecord = nullptr; }

void HostModel::OpenDrawing(const std::filesystem::path& svg) {
  Drawing drawing = ReadSvg(svg);
  if (!drawing.skipped.empty()) {
    AddRecord({{"kind", "drawing-skipped"}, {"file", PathText(svg.filename())}, {"what", drawing.skipped}});
  }
  state_->documents.push_back({state_->nextSerial++, std::move(drawing)});
  state_->selection.clear();
}

bool HostModel::CloseDrawing() {
  if (state_->documents.empty()) return false;
  state_->documents.pop_back();
  state_->selection.clear();
  return true;
}

const Drawing* HostModel::ActiveDrawing() const {
  const HostState::Document* active = state_->Active();
  return active == nullptr ? nullptr : &active->drawing;
}

void HostModel::SelectByIndex(const std::vector<std::size_t>& indices) {
  const Drawing* active = ActiveDrawing();
  for (std::size_t index : indices) {
    if (active == nullptr || index >= active->page.shapes.size()) {
      throw std::invalid_argument("no shape with index " + std::to_string(index) + " on the active page");
    }
  }
  state_->selection = indices;
}

void HostModel::SelectById(const std::vector<std::string>& ids) {
  const Drawing* active = ActiveDrawing();
  std::vector<std::size_t> indices;
  for (const std::string& id : ids) {
    const auto& shapes = active == nullptr ? std::vector<Shape>() : active->page.shapes;
    const auto found = std::find_if(shapes.begin(), shapes.end(), [&](const Shape& s) { return s.id == id; });
    if (found == shapes.end())
      throw std::invalid_argument("no shape with id \"" + id + "\" on the active page");
    indices.push_back(static_cast<std::size_t>(found - shapes.begin()));
  }
  state_->selection = indices;
}

void HostModel::FailFrom(const std::string& operation, int fromCall, HRESULT hr, std::u16string description) {
  state_->failures[operation] = Failure{fromCall, hr, std::move(description)};
}

void HostModel::ThrowFrom(const std::string& operation, int fromCall) {
  state_->failures[operation] = Failure{fromCall, E_FAIL, {}, true};
}

std::vector<std::string> HostModel::CalledOperations() const {
  std::vector<std::string> operations;
  for (const auto& record : state_->records) {
    if (record.value("kind", "") == "call") operations.push_back(record.value("op", ""));
  }
  return operations;
}

std::map<std::string, long> HostModel::OutstandingReferences() const {
  std::map<std::string, long> outstanding;
  for (const auto& [name, count] : state_->references) {
    const long others = name == InterfaceName(host::IID_IHostApplication) ? count - 1 : count;
    if (others != 0) outstanding[name] = others;
  }
  return outstanding;
}

int HostModel::CallCount(const std::string& operation) const {
  const auto found = state_->calls.find(operation);
  return found == state_->calls.end() ? 0 : found->second;
}

std::vector<std::pair<LONG, IDispatch*>> HostModel::Sinks() const {
  return {state_->sinks.begin(), state_->sinks.end()};
}

HostModel::Delivery HostModel::SendEvent(DISPID id, std::vector<VARIANT> arguments, bool nullBlock,
                                         IDispatch* fallback) {
  std::reverse(arguments.begin(), arguments.end());
  DISPPARAMS params{nullBlock ? nullptr : arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
  std::vector<IDispatch*> receivers;
  for (const auto& [cookie, sink] : state_->sinks) receivers.push_back(sink);
  if (receivers.empty() && fallback != nullptr) receivers.push_back(fallback);
  Delivery delivery;
  for (IDispatch* receiver : receivers) {
    // The receiver may unsubscribe while it handles the event.
    const auto held = host::ComPtr<IDispatch>::Share(receiver);
    const allocation::PluginRuns plugin;
    delivery.hr = held->Invoke(id, GUID_NULL, 0, 1 /* DISPATCH_METHOD */, nullBlock ? nullptr : &params,
                               nullptr, nullptr, nullptr);
    ++delivery.receivers;
  }
  return delivery;
}

std::optional<int> HostModel::TakeMessageBoxAnswer() {
  if (state_->messageBoxAnswers.empty()) return std::nullopt;
  const int answer = state_->messageBoxAnswers.front();
  state_->messageBoxAnswers.pop_front();
  return answer;
}

}  // namespace tavrel::hostmodel
