#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

#include "tests/support/TempDir.h"

namespace tavrel::testing_support {

void TempDir::WriteSparse(std::u16string_view relative, uint64_t size) const {
  Write(relative, "");
  const int fd = ::open(Native(relative).c_str(), O_WRONLY | O_CLOEXEC);
  const bool ok = fd >= 0 && ::ftruncate(fd, static_cast<off_t>(size)) == 0;
  if (fd >= 0) ::close(fd);
  if (!ok) throw std::runtime_error("cannot make a sparse file");
}

void TempDir::Link(std::u16string_view relative, std::u16string_view target) const {
  std::filesystem::create_symlink(Native(target), Native(relative));
}

// Removing the folder removes links themselves.
void TempDir::RemoveLinks() const {}

void TempDir::Fifo(std::u16string_view relative) const {
  std::filesystem::create_directories(Native(relative).parent_path());
  if (::mkfifo(Native(relative).c_str(), 0666) != 0) throw std::runtime_error("cannot make a named pipe");
}

}  // namespace tavrel::testing_support
