#include "tests/support/TempDir.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace tavrel::testing_support {

namespace {

std::u16string ToU16(const std::filesystem::path& p) {
  const std::u16string s = p.u16string();
  std::u16string out;
  for (char16_t c : s) out.push_back(c == u'/' ? u'\\' : c);
  return out;
}

std::filesystem::path FromRelative(const std::filesystem::path& root, std::u16string_view relative) {
  std::u16string r(relative);
  for (char16_t& c : r) {
    if (c == u'\\') c = u'/';
  }
  return root / std::filesystem::path(r);
}

}  // namespace

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (int attempt = 0; attempt < 100; ++attempt) {
    root_ = std::filesystem::temp_directory_path() /
            ("tavrel-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    if (std::filesystem::create_directory(root_)) return;
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
  RemoveLinks();
  std::error_code ec;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root_, ec)) {
    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
  }
  std::filesystem::remove_all(root_, ec);
}

std::u16string TempDir::Folder() const { return ToU16(root_); }

std::u16string TempDir::Path(std::u16string_view relative) const {
  std::u16string p = Folder();
  p += u'\\';
  p += relative;
  return p;
}

std::filesystem::path TempDir::Native(std::u16string_view relative) const {
  return FromRelative(root_, relative);
}

void TempDir::Write(std::u16string_view relative, std::string_view bytes) const {
  const auto p = Native(relative);
  std::filesystem::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempDir::Read(std::u16string_view relative) const {
  std::ifstream in(Native(relative), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace tavrel::testing_support
