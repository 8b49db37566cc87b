// Plays the user in the plug-in's settings dialog: while an answerer lives,
// each settings dialog shown on this thread is answered with the next
// prepared answer — pick an application by its name, choose an export type,
// set the curve check box, then leave with Apply, Cancel, Escape, Enter or
// the close box. What the dialog showed before the answer is kept.
//
// Windows: the real dialog, found with a WH_CALLWNDPROCRET hook once it has
// handled WM_INITDIALOG (not by its activation, which follows the focus) and
// sent the clicks and keys a user would make. Natively: the dialog
// stand-in's driver.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Dialog.h"
#include "resources/resource.h"
#include "settings/SettingsDialog.h"

namespace tavrel::dialogdriver {

enum class DialogClose { Apply, Cancel, Escape, Enter, CloseBox };

struct DialogAnswer {
  std::optional<std::u16string> application;  // the entry to pick, by its text
  std::optional<int> exportType;              // 0, 1 or 2: the radio button to click
  std::optional<bool> optimise;               // the check box state to leave
  DialogClose close = DialogClose::Apply;
};

// What the dialog showed when it opened.
struct DialogObservation {
  std::u16string title;
  std::vector<std::u16string> applications;  // the combo box's entries in order
  std::vector<intptr_t> itemData;            // each entry's item data
  int selected = -1;                         // the selected entry, -1 for none
  bool applicationsEnabled = false;
  std::vector<int> exportTypesChecked;  // the export types whose button is checked
  bool optimiseChecked = false;
  bool answered = false;  // false when no answer was left (closed with Escape)
};

class DialogAnswerer {
 public:
  explicit DialogAnswerer(std::deque<DialogAnswer> answers);
  ~DialogAnswerer();
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;

  // Adds an answer for a later dialog.
  void Push(DialogAnswer answer);
  const std::vector<DialogObservation>& Observed() const;
  // Lets go of what the dialogs shown so far showed (a long run that has
  // passed each to its observer keeps nothing).
  void ForgetObserved();
  // Called with what each dialog showed, before it is answered.
  void OnDialog(std::function<void(const DialogObservation&)> observer);
  // A dialog without a prepared answer is left to the person at the
  // terminal (natively: a prompt on the terminal; on Windows: the real
  // dialog on screen) instead of being closed with Escape.
  void SetInteractive(bool interactive);

  struct State;

 private:
  std::unique_ptr<State> state_;
};

// The settings dialog's controls, for the implementations: the identifiers
// the resource script and the dialog procedure use.
namespace ids {
constexpr int kApply = platform::kIdOk;
constexpr int kCancel = platform::kIdCancel;
constexpr int kApplications = IDC_APP_COMBO;
constexpr int kOptimise = IDC_OPTIMISE_CURVES;
// Each export type with its radio button, as the dialog procedure reads them.
using settings::kExportTypeButtons;
// The radio button of an export type; 0 for a type without one.
constexpr int ExportTypeButton(int type) {
  for (const settings::ExportTypeButton& button : kExportTypeButtons) {
    if (button.exportType == type) return button.controlId;
  }
  return 0;
}
}  // namespace ids

struct DialogAnswerer::State {
  std::deque<DialogAnswer> answers;
  std::vector<DialogObservation> observed;
  std::function<void(const DialogObservation&)> observer;
  bool interactive = false;
  // Takes the next answer for a dialog just shown (none: leave with Escape).
  std::optional<DialogAnswer> Next() {
    if (answers.empty()) return std::nullopt;
    DialogAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  void Seen(const DialogObservation& seen) {
    observed.push_back(seen);
    if (observer) observer(seen);
  }
};

// Both implementations.
inline void DialogAnswerer::Push(DialogAnswer answer) { state_->answers.push_back(std::move(answer)); }
inline const std::vector<DialogObservation>& DialogAnswerer::Observed() const { return state_->observed; }
inline void DialogAnswerer::ForgetObserved() { state_->observed.clear(); }
inline void DialogAnswerer::OnDialog(std::function<void(const DialogObservation&)> observer) {
  state_->observer = std::move(observer);
}
inline void DialogAnswerer::SetInteractive(bool interactive) { state_->interactive = interactive; }

}  // namespace tavrel::dialogdriver
