// Natively, the settings dialog shown on the terminal: its controls as text,
// and the user's choices read from the terminal.
#pragma once

#include <optional>

#include "tools/dialogdriver/DialogAnswerer.h"

namespace tavrel::dialogdriver {

// None when the terminal cannot be read.
std::optional<DialogAnswer> AskAtTerminal(const DialogObservation& seen);

}  // namespace tavrel::dialogdriver
