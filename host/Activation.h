// What the activation and deactivation notifications do: load the settings,
// register the two commands with their buttons on the "Standard" bar and
// subscribe to the host's events; and undo the subscription and commands.
// Failures are reported in the "Tavrel Error" box and end the notification;
// what was done before them stays. An activation while the subscription is
// in force does nothing: the plug-in is started once.
#pragma once

namespace tavrel::host {

class CVGAppPlugin;

void Activate(CVGAppPlugin& plugin) noexcept;
void Deactivate(CVGAppPlugin& plugin) noexcept;
// Ends a subscription still in force, without a message (for the unload
// notification); nothing when there is none or no application is held.
void EndSubscription(CVGAppPlugin& plugin) noexcept;

}  // namespace tavrel::host
