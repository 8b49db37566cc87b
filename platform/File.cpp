// The parts of File that are the same on every platform: ownership of the
// handle. Opening, reading, writing and closing are per platform.
#include "platform/File.h"

namespace tavrel::platform {

File::~File() { Close(); }

File::File(File&& other) noexcept : handle_(other.handle_) { other.handle_ = kInvalid; }

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    other.handle_ = kInvalid;
  }
  return *this;
}

}  // namespace tavrel::platform
