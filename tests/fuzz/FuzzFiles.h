// Scratch files of one fuzzing process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tavrel::fuzz {

// A path in the temporary folder unique to this process and `name`.
std::u16string ScratchPath(const char* name);

// Writes the bytes to the scratch file `name` and gives its path.
std::u16string WriteScratch(const char* name, const uint8_t* data, size_t size);

}  // namespace tavrel::fuzz
