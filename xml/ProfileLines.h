// The lines of a profile file, in order, each ended by CR LF.
#pragma once

#include <functional>
#include <string_view>

#include "xml/XmlProfile.h"

namespace tavrel::xml {

// Receives one line; `first` is set for the declaration only. False stops the
// writing.
using LineSink = std::function<bool(std::u16string_view line, bool first)>;

// Hands every line of the profile to `sink`: the declaration (UTF-8 when
// `ansi`, else UTF-16), the root, each section with at least one key that has
// a name and a value, those keys, and the root end. Names and values are
// escaped. False as soon as the sink refuses a line.
bool WriteProfileLines(const ProfileSectionList& sections, bool ansi, const LineSink& sink);

}  // namespace tavrel::xml
