// The application object: documents, active document and page, selection,
// main window, folders, plug-in commands, event subscriptions, command bars.
#include <algorithm>

#include "platform/Text.h"
#include "tools/host/model/HostObject.h"
#include "tools/host/model/VariantText.h"

namespace tavrel::hostmodel {
namespace {

using nlohmann::json;
using namespace host;

class Application final : public HostObject<IHostApplication> {
 public:
  using HostObject::HostObject;

  HRESULT STDMETHODCALLTYPE get_Documents(IHostDocuments** documents) override {
    const allocation::HostWorks work;
    return Get("Application.Documents", json::array(), documents, [&](IHostDocuments*& out, json& r, auto&) {
      out = NewDocuments(SharedState());
      r = "IHostDocuments";
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_ActiveDocument(IHostDocument** document) override {
    const allocation::HostWorks work;
    return Get("Application.ActiveDocument", json::array(), document,
               [&](IHostDocument*& out, json& r, auto&) {
                 if (const auto* active = State().Active()) {
                   out = NewDocument(SharedState(), active->serial);
                   r = "IHostDocument";
                 }
                 return S_OK;
               });
  }
  HRESULT STDMETHODCALLTYPE get_ActivePage(IHostPage** page) override {
    const allocation::HostWorks work;
    return Get("Application.ActivePage", json::array(), page, [&](IHostPage*& out, json& r, auto&) {
      if (const auto* active = State().Active()) {
        out = NewPage(SharedState(), active->serial);
        r = "IHostPage";
      }
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_Selection(IHostSelection** selection) override {
    const allocation::HostWorks work;
    return Get("Application.Selection", json::array(), selection, [&](IHostSelection*& out, json& r, auto&) {
      out = NewSelection(SharedState());
      r = "IHostSelection";
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_MainWindow(IHostWindow** window) override {
    const allocation::HostWorks work;
    return Get("Application.MainWindow", json::array(), window, [&](IHostWindow*& out, json& r, auto&) {
      out = NewWindow(SharedState());
      r = "IHostWindow";
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_HostFolder(BSTR* path) override {
    const allocation::HostWorks work;
    return Folder("Application.HostFolder", path, State().hostFolder);
  }
  HRESULT STDMETHODCALLTYPE get_SettingsFolder(BSTR* path) override {
    const allocation::HostWorks work;
    return Folder("Application.SettingsFolder", path, State().settingsFolder);
  }
  HRESULT STDMETHODCALLTYPE AddPluginCommand(BSTR name, BSTR caption, BSTR tooltip,
                                             VARIANT_BOOL* added) override {
    const allocation::HostWorks work;
    const json args = {Utf8(platform::BstrView(name)), Utf8(platform::BstrView(caption)),
                       Utf8(platform::BstrView(tooltip))};
    return Get(
        "Application.AddPluginCommand", args, added, [&](VARIANT_BOOL& out, json& r, std::u16string& error) {
          const std::u16string_view command = platform::BstrView(name);
          if (command.empty()) {
            error = u"A command needs a name.";
            return E_INVALIDARG;
          }
          const bool exists = FindCommand(command) != State().commands.end();
          if (!exists) {
            State().commands.push_back({std::u16string(command), std::u16string(platform::BstrView(caption)),
                                        std::u16string(platform::BstrView(tooltip))});
          }
          out = exists ? VARIANT_FALSE : VARIANT_TRUE;
          r = out;
          return S_OK;
        });
  }
  HRESULT STDMETHODCALLTYPE RemovePluginCommand(BSTR name, VARIANT_BOOL* removed) override {
    const allocation::HostWorks work;
    return Get("Application.RemovePluginCommand", json::array({Utf8(platform::BstrView(name))}), removed,
               [&](VARIANT_BOOL& out, json& r, auto&) {
                 const auto found = FindCommand(platform::BstrView(name));
                 out = found == State().commands.end() ? VARIANT_FALSE : VARIANT_TRUE;
                 if (found != State().commands.end()) {
                   State().commands.erase(found);
                   std::erase_if(State().buttons, [&](const CommandButton& button) {
                     return button.temporary != VARIANT_FALSE && button.command == platform::BstrView(name);
                   });
                 }
                 r = out;
                 return S_OK;
               });
  }
  HRESULT STDMETHODCALLTYPE AdviseEvents(IDispatch* sink, LONG* cookie) override {
    const allocation::HostWorks work;
    return Get("Application.AdviseEvents", json::array({sink == nullptr ? "null" : "sink"}), cookie,
               [&](LONG& out, json& r, std::u16string& error) {
                 if (sink == nullptr) {
                   error = u"The event sink is null.";
                   return E_POINTER;
                 }
                 sink->AddRef();
                 out = State().nextCookie++;
                 State().sinks[out] = sink;
                 r = out;
                 return S_OK;
               });
  }
  HRESULT STDMETHODCALLTYPE UnadviseEvents(LONG cookie) override {
    const allocation::HostWorks work;
    return State().Call("Application.UnadviseEvents", json::array({cookie}),
                        [&](json&, std::u16string& error) {
                          const auto found = State().sinks.find(cookie);
                          if (found == State().sinks.end()) {
                            error = u"There is no event subscription with cookie " +
                                    text::FromAscii(std::to_string(cookie)) + u".";
                            return static_cast<HRESULT>(0x80040200);  // CONNECT_E_NOCONNECTION
                          }
                          IDispatch* sink = found->second;
                          State().sinks.erase(found);
                          sink->Release();
                          return S_OK;
                        });
  }
  HRESULT STDMETHODCALLTYPE get_CommandBars(IHostCommandBars** bars) override {
    const allocation::HostWorks work;
    return Get("Application.CommandBars", json::array(), bars, [&](IHostCommandBars*& out, json& r, auto&) {
      out = NewCommandBars(SharedState());
      r = "IHostCommandBars";
      return S_OK;
    });
  }

 private:
  HRESULT Folder(const std::string& operation, BSTR* path, const std::u16string& folder) {
    return Get(operation, json::array(), path, [&](BSTR& out, json& r, auto&) {
      out = platform::AllocBstr(folder);
      r = Utf8(folder);
      return S_OK;
    });
  }
  std::vector<PluginCommand>::iterator FindCommand(std::u16string_view name) {
    auto& commands = State().commands;
    return std::find_if(commands.begin(), commands.end(),
                        [&](const PluginCommand& c) { return c.name == name; });
  }
};

}  // namespace

IHostApplication* NewApplication(std::shared_ptr<HostState> state) {
  return new Application(std::move(state));
}

}  // namespace tavrel::hostmodel
