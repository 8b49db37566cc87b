// Heap bytes in use and their peak, counted over operator new/delete and
// pugixml's allocation functions (natively, with malloc_usable_size).
#pragma once

#include <cstddef>

namespace tavrel::bench {

// Starts a measurement; PeakBytes is the most in use above the bytes in use
// at that moment.
void ResetPeak();
size_t PeakBytes();
// Heap blocks allocated so far in all.
size_t Allocations();
// pugixml allocates through the counting functions from here on.
void CountPugixmlAllocations();

}  // namespace tavrel::bench
