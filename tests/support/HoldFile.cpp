// hold-file FILE FLAG: opens FILE for reading and writing without sharing,
// as another program holding it would, and keeps it open while the file
// FLAG exists. It creates FLAG once FILE is held, so a test can wait for it,
// and exits when the test deletes FLAG (or after two minutes). Exit codes:
// 0 done, 2 bad usage or FILE cannot be held.
#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/File.h"
#include "platform/Text.h"

int main(int argc, char** argv) {
  using tavrel::platform::File;
  namespace platform = tavrel::platform;
  if (argc != 3) {
    std::fputs("usage: hold-file FILE FLAG\n", stderr);
    return 2;
  }
  const std::u16string path = tavrel::text::FromUtf8(argv[1]);
  const std::u16string flag = tavrel::text::FromUtf8(argv[2]);
  const File held = File::Open(path, platform::FileAccess::ReadWrite, platform::kShareNone,
                               platform::FileDisposition::OpenExisting);
  if (!held) {
    std::fprintf(stderr, "hold-file: cannot hold the file (error %u)\n",
                 static_cast<unsigned>(platform::LastError()));
    return 2;
  }
  if (!File::Open(flag, platform::FileAccess::ReadWrite,
                  platform::kShareRead | platform::kShareWrite | platform::kShareDelete,
                  platform::FileDisposition::CreateAlways)) {
    std::fprintf(stderr, "hold-file: cannot create the flag file (error %u)\n",
                 static_cast<unsigned>(platform::LastError()));
    return 2;
  }
  constexpr int kPolls = 1200;  // 100 ms each
  for (int i = 0; i < kPolls && platform::Access(flag, platform::kAccessExists) == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return 0;
}
