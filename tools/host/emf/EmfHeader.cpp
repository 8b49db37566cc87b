#include "tools/host/emf/EmfHeader.h"

#include <array>
#include <fstream>
#include <stdexcept>

#include "tools/host/model/FilePath.h"

namespace tavrel::hostmodel {
namespace {

// The header record: type, size, then the bounds and the frame.
constexpr std::streamoff kBoundsOffset = 8;

void PutRect(std::array<char, 32>& bytes, std::size_t at, const HeaderRect& rect) {
  for (const std::int32_t value : {rect.left, rect.top, rect.right, rect.bottom}) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[at++] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  }
}

}  // namespace

void SetHeaderBox(const std::filesystem::path& file, const HeaderRect& bounds, const HeaderRect& frame) {
  std::array<char, 32> bytes{};
  PutRect(bytes, 0, bounds);
  PutRect(bytes, 16, frame);
  std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
  out.seekp(kBoundsOffset);
  out.write(bytes.data(), bytes.size());
  out.flush();
  if (!out) throw std::runtime_error("cannot write the header of the metafile " + PathText(file));
}

}  // namespace tavrel::hostmodel
