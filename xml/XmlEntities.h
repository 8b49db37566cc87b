// The four named entities of attribute values: &amp; &lt; &gt; &quot;.
#pragma once

#include <string>
#include <string_view>

namespace tavrel::xml {

// Writes & < > " as their entities, so a name or value can stand between
// double quotes in a tag.
std::u16string EscapeAttribute(std::u16string_view text);

// Decodes the four entities in one left-to-right pass: decoded text is never
// looked at again, so "&amp;lt;" gives "&lt;". Every other "&" stays as written.
std::u16string DecodeEntities(std::u16string_view text);
// The same into `out`, whose memory is used again.
void DecodeEntities(std::u16string_view text, std::u16string& out);

}  // namespace tavrel::xml
