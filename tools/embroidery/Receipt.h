// The receipt the embroidery stand-in writes: what it was given and what it
// found in the file.
#pragma once

#include <string>

#include "tools/embroidery/Invocation.h"

namespace tavrel::embroidery_standin {

struct Outcome {
  std::string receipt;  // JSON text
  int exitCode = 0;     // 0 only for a well-formed file
};

// Reads the arguments: the switches -opt, -direct and -wizard, the first
// other argument as the drawing file; checks the file strictly.
Outcome Examine(const Invocation& invocation);

}  // namespace tavrel::embroidery_standin
