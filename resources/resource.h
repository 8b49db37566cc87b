// Resource identifiers of the plug-in module (shared by the resource script
// and the C++ code).
#pragma once

#define IDD_SETTINGS 9
#define IDC_APP_COMBO 1002
#define IDC_EXPORT_VECTOR 1004
#define IDC_EXPORT_WIZARD 1005
#define IDC_EXPORT_DIRECT 1006
#define IDC_OPTIMISE_CURVES 1007

// The texts of the string tables (one table per language).
#define IDS_ERROR_CAPTION 101
#define IDS_UNEXPECTED_ERROR 102
#define IDS_ERROR_CODE 103
#define IDS_APP_NOT_FOUND 104
#define IDS_EXPORT_FAILED 105
#define IDS_START_FAILED 106
#define IDS_NO_APPLICATION 107
#define IDS_SAVE_FAILED 108
#define IDS_SEND_CAPTION 109
#define IDS_SEND_TOOLTIP 110
#define IDS_SETTINGS_CAPTION 111
#define IDS_SETTINGS_TOOLTIP 112
