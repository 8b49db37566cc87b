// The main window, the command bars, a bar's controls and a command button.
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/Text.h"
#include "tools/host/model/FilePath.h"
#include "tools/host/model/HostObject.h"
#include "tools/host/model/VariantText.h"

namespace tavrel::hostmodel {
namespace {

using nlohmann::json;
using namespace host;

// The bars this host has.
bool KnownBar(std::u16string_view name) {
  return name == u"Standard" || name == u"Toolbox" || name == u"Menu";
}

class Window final : public HostObject<IHostWindow> {
 public:
  using HostObject::HostObject;
  HRESULT STDMETHODCALLTYPE get_Handle(intptr_t* handle) override {
    const allocation::HostWorks work;
    return Get("Window.Handle", json::array(), handle, [&](intptr_t& out, json& r, auto&) {
      out = State().mainWindow;
      // The number differs from run to run; the log says which window it is.
      r = "main-window";
      return S_OK;
    });
  }
};

class CommandBars final : public HostObject<IHostCommandBars> {
 public:
  using HostObject::HostObject;
  HRESULT STDMETHODCALLTYPE get_Item(VARIANT index, IHostCommandBar** bar) override {
    const allocation::HostWorks work;
    return Get("CommandBars.Item", json::array({VariantToText(index)}), bar,
               [&](IHostCommandBar*& out, json& r, std::u16string& error) {
                 if (index.vt != VT_BSTR) {
                   error = u"A command bar is named by a string.";
                   return DISP_E_TYPEMISMATCH;
                 }
                 const std::u16string name(platform::BstrView(index.bstrVal));
                 if (!KnownBar(name)) {
                   error = u"There is no command bar named \"" + name + u"\".";
                   return E_INVALIDARG;
                 }
                 out = NewCommandBar(SharedState(), name);
                 r = "IHostCommandBar";
                 return S_OK;
               });
  }
};

class CommandBar final : public HostObject<IHostCommandBar> {
 public:
  CommandBar(std::shared_ptr<HostState> state, std::u16string name)
      : HostObject(std::move(state)), name_(std::move(name)) {}
  HRESULT STDMETHODCALLTYPE get_Controls(IHostControls** controls) override {
    const allocation::HostWorks work;
    return Get("CommandBar.Controls", json::array(), controls, [&](IHostControls*& out, json& r, auto&) {
      out = NewControls(SharedState(), name_);
      r = "IHostControls";
      return S_OK;
    });
  }

 private:
  std::u16string name_;
};

class Controls final : public HostObject<IHostControls> {
 public:
  Controls(std::shared_ptr<HostState> state, std::u16string bar)
      : HostObject(std::move(state)), bar_(std::move(bar)) {}
  HRESULT STDMETHODCALLTYPE AddCommandButton(BSTR buttonId, BSTR command, LONG position,
                                             VARIANT_BOOL temporary, IHostControl** button) override {
    const allocation::HostWorks work;
    const json args = {Utf8(platform::BstrView(buttonId)), Utf8(platform::BstrView(command)), position,
                       temporary};
    return Get("Controls.AddCommandButton", args, button,
               [&](IHostControl*& out, json& r, std::u16string& error) {
                 if (platform::BstrView(command).empty()) {
                   error = u"A command button needs a command name.";
                   return E_INVALIDARG;
                 }
                 const int serial = State().nextButton++;
                 State().buttons.push_back({serial,
                                            bar_,
                                            std::u16string(platform::BstrView(buttonId)),
                                            std::u16string(platform::BstrView(command)),
                                            position,
                                            temporary,
                                            {}});
                 out = NewControl(SharedState(), serial);
                 r = "IHostControl";
                 return S_OK;
               });
  }

 private:
  std::u16string bar_;
};

class Control final : public HostObject<IHostControl> {
 public:
  Control(std::shared_ptr<HostState> state, int serial) : HostObject(std::move(state)), serial_(serial) {}
  HRESULT STDMETHODCALLTYPE SetIconFromFile(BSTR bitmapPath) override {
    const allocation::HostWorks work;
    const std::u16string path(platform::BstrView(bitmapPath));
    return State().Call(
        "Control.SetIconFromFile", json::array({Utf8(path)}), [&](json&, std::u16string& error) {
          std::error_code ec;
          if (State().requireIconFiles && !std::filesystem::is_regular_file(FileSystemPath(path), ec)) {
            error = u"Cannot load the icon " + path + u": the file does not exist.";
            return platform::HResultFromWin32(platform::kErrorFileNotFound);
          }
          auto& buttons = State().buttons;
          const auto button = std::find_if(buttons.begin(), buttons.end(),
                                           [this](const CommandButton& b) { return b.serial == serial_; });
          if (button == buttons.end()) {
            error = u"The button has been removed.";
            return E_FAIL;
          }
          button->icon = path;
          return S_OK;
        });
  }

 private:
  int serial_;
};

}  // namespace

IHostWindow* NewWindow(std::shared_ptr<HostState> state) { return new Window(std::move(state)); }
IHostCommandBars* NewCommandBars(std::shared_ptr<HostState> state) {
  return new CommandBars(std::move(state));
}
IHostCommandBar* NewCommandBar(std::shared_ptr<HostState> state, std::u16string name) {
  return new CommandBar(std::move(state), std::move(name));
}
IHostControls* NewControls(std::shared_ptr<HostState> state, std::u16string bar) {
  return new Controls(std::move(state), std::move(bar));
}
IHostControl* NewControl(std::shared_ptr<HostState> state, int serial) {
  return new Control(std::move(state), serial);
}

}  // namespace tavrel::hostmodel
