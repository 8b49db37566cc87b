#include "tools/dialogdriver/DialogAnswerer.h"

#include <algorithm>

#include <optional>

#include "platform/posix/DialogStandIn.h"
#include "tools/dialogdriver/posix/TerminalPrompt.h"
#include "tools/host/model/AllocationGate.h"

namespace tavrel::dialogdriver {

namespace {

using platform::posix::ControlState;
using platform::posix::DialogSession;

const ControlState* FindControl(const std::vector<ControlState>& controls, int id) {
  const auto it =
      std::find_if(controls.begin(), controls.end(), [id](const ControlState& c) { return c.id == id; });
  return it == controls.end() ? nullptr : &*it;
}

DialogObservation Observe(const DialogSession& session) {
  const std::vector<ControlState> controls = session.Controls();
  DialogObservation seen;
  seen.title = std::u16string(session.Title());
  if (const ControlState* combo = FindControl(controls, ids::kApplications)) {
    for (const auto& [text, data] : combo->items) {
      seen.applications.push_back(text);
      seen.itemData.push_back(data);
    }
    seen.selected = static_cast<int>(combo->selection);
    seen.applicationsEnabled = combo->enabled;
  }
  for (const auto& [id, type] : ids::kExportTypeButtons) {
    const ControlState* radio = FindControl(controls, id);
    if (radio != nullptr && radio->check == platform::kBstChecked) seen.exportTypesChecked.push_back(type);
  }
  const ControlState* box = FindControl(controls, ids::kOptimise);
  seen.optimiseChecked = box != nullptr && box->check == platform::kBstChecked;
  return seen;
}

void Answer(DialogSession& session, const DialogAnswer& answer, const DialogObservation& seen) {
  if (answer.application) {
    const auto it = std::find(seen.applications.begin(), seen.applications.end(), *answer.application);
    if (it != seen.applications.end()) {
      session.SelectItem(ids::kApplications, static_cast<int>(it - seen.applications.begin()));
    }
  }
  if (answer.exportType) {
    if (const int id = ids::ExportTypeButton(*answer.exportType)) session.Click(id);
  }
  if (answer.optimise && *answer.optimise != seen.optimiseChecked) session.Click(ids::kOptimise);
  switch (answer.close) {
    case DialogClose::Apply:
      session.Click(ids::kApply);
      break;
    case DialogClose::Cancel:
      session.Click(ids::kCancel);
      break;
    case DialogClose::Escape:
      session.PressEscape();
      break;
    case DialogClose::Enter:
      session.PressEnter();
      break;
    case DialogClose::CloseBox:
      session.CloseBox();
      break;
  }
}

}  // namespace

DialogAnswerer::DialogAnswerer(std::deque<DialogAnswer> answers) : state_(std::make_unique<State>()) {
  state_->answers = std::move(answers);
  State* state = state_.get();
  platform::posix::SetDialogDriver([state](DialogSession& session) {
    // Reading the dialog and choosing the answer is the host's work; the
    // clicks then run the plug-in's dialog procedure.
    std::optional<hostmodel::allocation::HostWorks> host(std::in_place);
    DialogObservation seen = Observe(session);
    std::optional<DialogAnswer> answer = state->Next();
    if (!answer && state->interactive) answer = AskAtTerminal(seen);
    seen.answered = answer.has_value();
    state->Seen(seen);
    host.reset();
    if (answer) {
      Answer(session, *answer, seen);
    } else {
      session.PressEscape();
    }
  });
}

DialogAnswerer::~DialogAnswerer() { platform::posix::SetDialogDriver(nullptr); }

}  // namespace tavrel::dialogdriver
