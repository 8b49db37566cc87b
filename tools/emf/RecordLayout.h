// A second reader's check of one record's inner layout (offsets, counts and
// sizes of the parts a record type carries), where the build has one:
// natively libuemf's record checks; the Windows build has none beyond
// EmfCheck's own.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tavrel::emf {

// `record` is one whole record (its size field equals its length). Empty
// when the record passes, else why not.
std::string CheckRecordLayout(std::span<const std::uint8_t> record);

}  // namespace tavrel::emf
