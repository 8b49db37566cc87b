#include <cstdio>
#include <memory>
#include <set>

#include "platform/Dialog.h"
#include "platform/Text.h"
#include "platform/posix/DialogStandIn.h"

namespace tavrel::platform {

namespace {

using style::kBsAutoCheckBox;
using style::kBsAutoRadioButton;
using style::kBsGroupBox;
using style::kBsTypeMask;
using style::kWsGroup;
constexpr unsigned kCbnSelChange = 1;

class StandInWindow {
 public:
  virtual ~StandInWindow() = default;
  virtual intptr_t Handle(unsigned message, uintptr_t wParam, intptr_t lParam) = 0;
  bool enabled = true;
};

std::set<StandInWindow*>& LiveWindows() {
  static std::set<StandInWindow*> windows;
  return windows;
}

StandInWindow* Lookup(WindowHandle w) {
  auto* window = reinterpret_cast<StandInWindow*>(w);
  return LiveWindows().count(window) != 0 ? window : nullptr;
}

class Control final : public StandInWindow {
 public:
  explicit Control(const DialogItemTemplate& t) : item(t) {}

  intptr_t Handle(unsigned message, uintptr_t wParam, intptr_t lParam) override {
    switch (message) {
      case kBmGetCheck:
        return check;
      case kBmSetCheck:
        check = static_cast<intptr_t>(wParam);
        return 0;
      case kCbResetContent:
        items.clear();
        selection = kCbErr;
        return 0;
      case kCbAddString:
        items.emplace_back(
            lParam == 0 ? std::u16string() : std::u16string(reinterpret_cast<const char16_t*>(lParam)), 0);
        return static_cast<intptr_t>(items.size() - 1);
      case kCbSetItemData:
        if (wParam >= items.size()) return kCbErr;
        items[wParam].second = lParam;
        return 0;
      case kCbGetItemData:
        return wParam < items.size() ? items[wParam].second : kCbErr;
      case kCbSetCurSel:
        selection = wParam < items.size() ? static_cast<intptr_t>(wParam) : kCbErr;
        return selection;
      case kCbGetCurSel:
        return selection;
      default:
        return 0;
    }
  }

  uint32_t ButtonType() const { return item.style & kBsTypeMask; }

  DialogItemTemplate item;
  intptr_t check = kBstUnchecked;
  std::vector<std::pair<std::u16string, intptr_t>> items;
  intptr_t selection = kCbErr;
};

class Dialog final : public StandInWindow, public posix::DialogSession {
 public:
  Dialog(const DialogTemplate& t, DialogProc p) : template_(t), proc_(p) {
    for (const DialogItemTemplate& item : t.items) controls_.push_back(std::make_unique<Control>(item));
    LiveWindows().insert(this);
    for (auto& c : controls_) LiveWindows().insert(c.get());
  }
  ~Dialog() override {
    LiveWindows().erase(this);
    for (auto& c : controls_) LiveWindows().erase(c.get());
  }

  intptr_t Handle(unsigned, uintptr_t, intptr_t) override { return 0; }

  WindowHandle Self() { return reinterpret_cast<WindowHandle>(static_cast<StandInWindow*>(this)); }

  Control* Find(int id) const {
    for (const auto& c : controls_) {
      if (c->item.id == id) return c.get();
    }
    return nullptr;
  }

  void Send(unsigned message, uintptr_t wParam, intptr_t lParam) { proc_(Self(), message, wParam, lParam); }
  void Command(int id, unsigned code, Control* from) {
    Send(kWmCommand, (static_cast<uintptr_t>(code) << 16) | static_cast<uint16_t>(id),
         reinterpret_cast<intptr_t>(static_cast<StandInWindow*>(from)));
  }

  void End(intptr_t result) {
    ended_ = true;
    result_ = result;
  }
  intptr_t Result() const { return result_; }

  // DialogSession
  std::u16string_view Title() const override { return template_.title; }
  std::vector<posix::ControlState> Controls() const override {
    std::vector<posix::ControlState> states;
    states.reserve(controls_.size());
    for (const auto& c : controls_) {
      states.push_back({c->item.id, c->item.controlClass, std::u16string(c->item.text), c->item.style,
                        c->enabled, c->check, c->items, c->selection});
    }
    return states;
  }
  bool SelectItem(int controlId, int index) override {
    Control* c = Usable(controlId);
    if (c == nullptr || c->item.controlClass != ControlClass::ComboBox || index < 0 ||
        static_cast<size_t>(index) >= c->items.size()) {
      return false;
    }
    c->selection = index;
    Command(controlId, kCbnSelChange, c);
    return true;
  }
  bool Click(int controlId) override {
    Control* c = Usable(controlId);
    if (c == nullptr || c->item.controlClass != ControlClass::Button || c->ButtonType() == kBsGroupBox)
      return false;
    if (c->ButtonType() == kBsAutoRadioButton) {
      for (Control* other : RadioGroupOf(c)) other->check = kBstUnchecked;
      c->check = kBstChecked;
    } else if (c->ButtonType() == kBsAutoCheckBox) {
      c->check = c->check == kBstChecked ? kBstUnchecked : kBstChecked;
    }
    Command(controlId, 0, c);
    return true;
  }
  bool PressEnter() override { return Key(kIdOk); }
  bool PressEscape() override { return Key(kIdCancel); }
  bool CloseBox() override { return Key(kIdCancel); }
  bool Ended() const override { return ended_; }

 private:
  Control* Usable(int id) const {
    Control* c = ended_ ? nullptr : Find(id);
    return (c != nullptr && c->enabled) ? c : nullptr;
  }
  bool Key(int id) {
    if (ended_) return false;
    Command(id, 0, Find(id));
    return true;
  }
  std::vector<Control*> RadioGroupOf(const Control* c) const {
    size_t at = 0;
    while (controls_[at].get() != c) ++at;
    size_t first = at;
    while (first > 0 && (controls_[first]->item.style & kWsGroup) == 0) --first;
    std::vector<Control*> group;
    for (size_t i = first; i < controls_.size(); ++i) {
      if (i > first && (controls_[i]->item.style & kWsGroup) != 0) break;
      if (controls_[i]->ButtonType() == kBsAutoRadioButton) group.push_back(controls_[i].get());
    }
    return group;
  }

  const DialogTemplate& template_;
  DialogProc proc_;
  std::vector<std::unique_ptr<Control>> controls_;
  bool ended_ = false;
  intptr_t result_ = 0;
};

posix::DialogDriver& Driver() {
  static posix::DialogDriver driver;
  return driver;
}

Dialog* DialogOf(WindowHandle w) { return dynamic_cast<Dialog*>(Lookup(w)); }

}  // namespace

namespace posix {

void SetDialogDriver(DialogDriver driver) { Driver() = std::move(driver); }

}  // namespace posix

namespace posix {

intptr_t RunDialogTemplate(const DialogTemplate& dialogTemplate, DialogProc proc, intptr_t param) {
  if (proc == nullptr) return -1;
  Dialog dialog(dialogTemplate, proc);
  dialog.Send(kWmInitDialog, 0, param);
  if (!dialog.Ended()) {
    if (Driver()) {
      Driver()(dialog);
    } else {
      std::fprintf(stderr, "dialog \"%s\": no one to answer it, closed with Escape\n",
                   text::ToUtf8(dialog.Title()).c_str());
    }
  }
  if (!dialog.Ended()) dialog.PressEscape();
  // A procedure that never ends the dialog would keep a real one open; the
  // stand-in cannot wait for a user, so it reports the dialog as cancelled.
  return dialog.Ended() ? dialog.Result() : kIdCancel;
}

}  // namespace posix

bool EndDialog(WindowHandle dialog, intptr_t result) {
  Dialog* d = DialogOf(dialog);
  if (d == nullptr) return false;
  d->End(result);
  return true;
}

WindowHandle GetDlgItem(WindowHandle dialog, int controlId) {
  Dialog* d = DialogOf(dialog);
  Control* c = d == nullptr ? nullptr : d->Find(controlId);
  return reinterpret_cast<WindowHandle>(static_cast<StandInWindow*>(c));
}

intptr_t SendWindowMessage(WindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam) {
  StandInWindow* w = Lookup(window);
  return w == nullptr ? 0 : w->Handle(message, wParam, lParam);
}

bool EnableWindow(WindowHandle window, bool enable) {
  StandInWindow* w = Lookup(window);
  if (w == nullptr) return false;
  const bool wasDisabled = !w->enabled;
  w->enabled = enable;
  return wasDisabled;
}

}  // namespace tavrel::platform
