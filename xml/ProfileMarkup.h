// The element and attribute names of the profile file layout.
#pragma once

#include <string_view>

namespace tavrel::xml::markup {

inline constexpr std::u16string_view kProfile = u"profile";
inline constexpr std::u16string_view kSection = u"section";
inline constexpr std::u16string_view kKey = u"key";
inline constexpr std::u16string_view kName = u"name";
inline constexpr std::u16string_view kValue = u"value";
inline constexpr std::u16string_view kReadOnly = u"readonly";

}  // namespace tavrel::xml::markup
