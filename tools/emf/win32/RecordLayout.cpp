#include "tools/emf/RecordLayout.h"

namespace tavrel::emf {

// No second reader here: EmfCheck's own checks are all there is.
std::string CheckRecordLayout(std::span<const std::uint8_t> /*record*/) { return {}; }

}  // namespace tavrel::emf
