// Prints the settings dialog's template as the native dialog stand-in holds
// it, as JSON with the field names check_dialog_template.py reads from the
// compiled resources (a control's class by its atom).
#include <cstdio>
#include <exception>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/Text.h"
#include "resources/SettingsDialogTemplate.h"

namespace {

std::string TemplateJson() {
  using tavrel::text::ToUtf8;
  const tavrel::platform::DialogTemplate& t = tavrel::resources::SettingsDialogTemplate();
  nlohmann::json dialog = {
      {"style", t.style},
      {"x", t.x},
      {"y", t.y},
      {"cx", t.cx},
      {"cy", t.cy},
      {"title", ToUtf8(t.title)},
      {"font", ToUtf8(t.fontName)},
      {"point_size", t.pointSize},
      {"weight", t.weight},
      {"italic", t.italic ? 1 : 0},
      {"charset", t.charset},
      {"items", nlohmann::json::array()},
  };
  for (const tavrel::platform::DialogItemTemplate& item : t.items) {
    const nlohmann::json control = {
        {"id", item.id},
        {"class", static_cast<int>(item.controlClass)},
        {"text", ToUtf8(item.text)},
        {"x", item.x},
        {"y", item.y},
        {"cx", item.cx},
        {"cy", item.cy},
        {"style", item.style},
    };
    dialog["items"].push_back(control);
  }
  return dialog.dump(1);
}

}  // namespace

int main() {
  try {
    std::puts(TemplateJson().c_str());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "dump-dialog-template: %s\n", e.what());
    return 1;
  }
}
