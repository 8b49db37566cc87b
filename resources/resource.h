// Resource identifiers of the plug-in module (shared by the resource script
// and the C++ code).
#pragma once

#define IDD_SETTINGS 9
#define IDC_APP_COMBO 1002
#define IDC_EXPORT_VECTOR 1004
#define IDC_EXPORT_WIZARD 1005
#define IDC_EXPORT_DIRECT 1006
#define IDC_OPTIMISE_CURVES 1007
