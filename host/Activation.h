// What the activation and deactivation notifications do: load the settings,
// register the two commands with their buttons on the "Standard" bar and
// subscribe to the host's events; and undo the subscription and commands.
// Failures are reported in the "Tavrel Error" box and end the notification;
// what was done before them stays.
#pragma once

namespace tavrel::host {

class CVGAppPlugin;

void Activate(CVGAppPlugin& plugin) noexcept;
void Deactivate(CVGAppPlugin& plugin) noexcept;

}  // namespace tavrel::host
