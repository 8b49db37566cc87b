// The plug-in's two host commands.
#pragma once

#include <string_view>

namespace tavrel::host {

// Names as the host knows them (narrow literals, converted with the ANSI code
// page wherever they meet the host).
constexpr std::string_view kSendCommand = "Tavrel";
constexpr std::string_view kSettingsCommand = "TavrelSettings";

}  // namespace tavrel::host
