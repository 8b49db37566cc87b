// What the host process holds at a moment, for the long-day soak: resident
// memory, open file descriptors (natively) or handles (Windows), and GDI
// and USER objects on Windows (null where the system does not answer).
#pragma once

#include <nlohmann/json.hpp>

namespace tavrel::hostrunner {

// {"rss-kb", "fds"} natively, {"rss-kb", "handles", "gdi", "user"} on Windows.
nlohmann::json ProcessResources();

}  // namespace tavrel::hostrunner
