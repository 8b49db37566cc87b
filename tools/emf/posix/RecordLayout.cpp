#include "tools/emf/RecordLayout.h"

#include <cstring>
#include <vector>

extern "C" {
#include <uemf.h>
#include <uemf_safe.h>
}

namespace tavrel::emf {

std::string CheckRecordLayout(std::span<const std::uint8_t> record) {
  // libuemf reads the record through its structures, so it gets an aligned
  // copy.
  std::vector<std::uint64_t> aligned((record.size() + 7) / 8);
  std::memcpy(aligned.data(), record.data(), record.size());
  if (U_emf_record_safe(reinterpret_cast<const char*>(aligned.data())) != 0) return {};
  return "libuemf refuses the record's layout";
}

}  // namespace tavrel::emf
