// Native only: what stands in for the dialog manager. A module registers its
// dialog templates (its "resources"); a driver — the stand-in host reading a
// scenario or a terminal, or a test — plays the user while a dialog runs.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Dialog.h"
#include "platform/DialogTemplate.h"

namespace tavrel::platform::posix {

struct ControlState {
  int id;
  ControlClass controlClass;
  std::u16string text;
  uint32_t style;
  bool enabled;
  intptr_t check;                                          // buttons: kBstUnchecked / kBstChecked
  std::vector<std::pair<std::u16string, intptr_t>> items;  // combo boxes: text and item data
  intptr_t selection;                                      // combo boxes: index or kCbErr
};

// What a driver sees of a running dialog and the user actions it can take.
// Each action returns false when a user could not do it (no such control,
// disabled, wrong kind, or the dialog has ended).
class DialogSession {
 public:
  virtual ~DialogSession() = default;
  virtual std::u16string_view Title() const = 0;
  virtual std::vector<ControlState> Controls() const = 0;
  // Picks an entry of a combo box's list by position.
  virtual bool SelectItem(int controlId, int index) = 0;
  // Clicks a button: push buttons report it to the dialog, automatic radio
  // buttons check themselves and uncheck their group, check boxes toggle.
  virtual bool Click(int controlId) = 0;
  virtual bool PressEnter() = 0;   // the dialog manager reports IDOK
  virtual bool PressEscape() = 0;  // ... IDCANCEL
  virtual bool CloseBox() = 0;     // ... IDCANCEL, as for the close box
  virtual bool Ended() const = 0;
};

// The driver runs once per dialog, after its initialisation. A dialog the
// driver leaves open (or that runs without a driver) ends as if Escape was
// pressed.
using DialogDriver = std::function<void(DialogSession&)>;
void SetDialogDriver(DialogDriver driver);

// Runs a template as RunDialog runs an announced one.
intptr_t RunDialogTemplate(const DialogTemplate& dialogTemplate, DialogProc proc, intptr_t param);

}  // namespace tavrel::platform::posix
