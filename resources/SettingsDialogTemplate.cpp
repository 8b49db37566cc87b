#include "resources/SettingsDialogTemplate.h"

#include <array>

#include "resources/resource.h"

namespace tavrel::resources {

namespace {

using platform::ControlClass;
using platform::DialogItemTemplate;

constexpr std::array<DialogItemTemplate, 9> kItems = {{
    {1, ControlClass::Button, u"Apply", 54, 134, 57, 14, 0x50010000},
    {2, ControlClass::Button, u"Cancel", 121, 134, 57, 14, 0x50010000},
    {IDC_APP_COMBO, ControlClass::ComboBox, u"", 60, 32, 113, 43, 0x50210002},
    {-1, ControlClass::Static, u"Select one of the available Embroidery applications as an export target:",
     19, 11, 184, 16, 0x50020000},
    {-1, ControlClass::Button, u"Export type", 10, 50, 213, 56, 0x50000007},
    {IDC_EXPORT_VECTOR, ControlClass::Button, u"Load vector data only.", 22, 63, 188, 10, 0x50020009},
    {IDC_EXPORT_DIRECT, ControlClass::Button, u"Create embroidery objects directly.", 22, 77, 188, 10,
     0x50000009},
    {IDC_EXPORT_WIZARD, ControlClass::Button, u"Start with Kalder wizard after load.", 22, 91, 188, 10,
     0x50000009},
    {IDC_OPTIMISE_CURVES, ControlClass::Button, u"Optimize curve data", 22, 114, 188, 10, 0x50030003},
}};

constexpr platform::DialogTemplate kTemplate = {
    0x80C800C8, 0, 0, 233, 158, u"Tavrel Settings", u"MS Shell Dlg", 8, 400, false, 1, kItems,
};

}  // namespace

const platform::DialogTemplate& SettingsDialogTemplate() { return kTemplate; }

}  // namespace tavrel::resources
