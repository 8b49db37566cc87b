#include "platform/Process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/CommandLine.h"
#include "platform/ErrorCodes.h"
#include "platform/LastError.h"
#include "platform/Text.h"
#include "platform/posix/Handles.h"
#include "platform/posix/NativePath.h"
#include "platform/posix/StandInState.h"

extern char** environ;

namespace tavrel::platform {

namespace {

// Owns the two ends of a pipe.
class Pipe {
 public:
  Pipe() {
    int fds[2] = {-1, -1};
    if (::pipe2(fds, O_CLOEXEC) != 0) return;
    read_.Reset(fds[0]);
    write_.Reset(fds[1]);
  }
  bool Ok() const { return read_.IsValid(); }
  int ReadEnd() const { return read_.Get(); }
  int WriteEnd() const { return write_.Get(); }
  void CloseRead() { read_.Reset(); }
  void CloseWrite() { write_.Reset(); }

 private:
  posix::Descriptor read_;
  posix::Descriptor write_;
};

// posix_spawn's file actions, destroyed on every path.
class FileActions {
 public:
  FileActions() { ::posix_spawn_file_actions_init(&actions_); }
  ~FileActions() { ::posix_spawn_file_actions_destroy(&actions_); }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;
  posix_spawn_file_actions_t* Get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_{};
};

// Starts the program from a short-lived middle process, so the program is
// adopted by init and never waits as a zombie of the caller, and the caller
// needs no SIGCHLD handling. Returns posix_spawn's result.
int SpawnDetached(const char* program, char* const* argv, const char* folder) {
  FileActions actions;
  // The program's own folder as its current folder; a missing one fails the
  // start, as CreateProcessW fails.
  if (::posix_spawn_file_actions_addchdir_np(actions.Get(), folder) != 0) return EINVAL;
  // No handle inheritance: only standard input, output and error go along.
  ::posix_spawn_file_actions_addclosefrom_np(actions.Get(), 3);
  Pipe result;
  if (!result.Ok()) return errno;
  const pid_t middle = ::fork();
  if (middle < 0) return errno;
  if (middle == 0) {
    pid_t child = 0;
    int err = ::posix_spawn(&child, program, actions.Get(), nullptr, argv, environ);
    [[maybe_unused]] const ssize_t n = ::write(result.WriteEnd(), &err, sizeof(err));
    ::_exit(0);
  }
  result.CloseWrite();
  int err = ECHILD;
  ssize_t n = 0;
  do {
    n = ::read(result.ReadEnd(), &err, sizeof(err));
  } while (n < 0 && errno == EINTR);
  if (n != static_cast<ssize_t>(sizeof(err))) err = ECHILD;
  while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
  }
  return err;
}

// CreateProcessW reports a program it cannot find as file not found,
// whether or not its folder exists.
uint32_t StartError(int err) {
  if (err == ENOENT || err == ENOTDIR) return kErrorFileNotFound;
  return posix::ErrorFromErrno(err);
}

}  // namespace

bool StartProcess(std::u16string_view program, std::u16string_view commandLine, std::u16string_view folder) {
  if (const auto& observer = standin::State().processObserver) observer(commandLine);
  // The program started is the one named, never the command line's first
  // token; that token only reaches the program as its argv[0].
  const std::vector<std::u16string> args = SplitCommandLine(commandLine);
  if (program.empty() || args.empty()) {
    SetLastError(kErrorFileNotFound);
    return false;
  }
  const std::string nativeProgram = posix::NativePath(program);
  const std::string nativeFolder = posix::NativePath(folder);
  // CreateProcessW refuses a current folder that is not there first.
  struct stat st {};
  if (::stat(nativeFolder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    SetLastError(kErrorDirectory);
    return false;
  }
  std::vector<std::string> utf8;
  utf8.reserve(args.size());
  for (const auto& arg : args) utf8.push_back(text::ToUtf8(arg));
  std::vector<char*> argv;
  argv.reserve(utf8.size() + 1);
  for (auto& arg : utf8) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const int err = SpawnDetached(nativeProgram.c_str(), argv.data(), nativeFolder.c_str());
  if (err != 0) {
    SetLastError(StartError(err));
    return false;
  }
  SetLastError(kErrorSuccess);
  return true;
}

}  // namespace tavrel::platform
