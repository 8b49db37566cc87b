// Generated profile documents of realistic shape: sections of a few keys
// each, names and values as settings files hold them (numbers, words,
// folders, the odd escaped character), in the layout the store writes.
#pragma once

#include <cstddef>
#include <string>

#include "xml/XmlProfile.h"

namespace tavrel::bench {

// A document of about `utf8Bytes` bytes in UTF-8.
std::u16string ProfileDocument(size_t utf8Bytes);

// A profile of `sections` sections with `keysPerSection` keys each.
void FillProfile(xml::CXmlProfile& profile, size_t sections, size_t keysPerSection);

// The names FillProfile gives.
std::u16string SectionName(size_t index);
std::u16string KeyName(size_t index);

}  // namespace tavrel::bench
