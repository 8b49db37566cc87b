// Files, with the creation and sharing semantics of CreateFileW. The POSIX
// build maps backslashes to slashes and stands in the sharing modes with
// advisory locks, so a file held open without sharing refuses other openers
// in both builds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/LastError.h"
#include "platform/UniqueHandle.h"

namespace tavrel::platform {

enum class FileAccess { Read, ReadWrite };
enum class FileDisposition { OpenExisting, CreateAlways };

// Sharing flags; combine with |.
enum FileShare : unsigned { kShareNone = 0, kShareRead = 1, kShareWrite = 2, kShareDelete = 4 };

// What a File holds: a descriptor natively, a HANDLE on Windows, both kept
// as intptr_t; -1 (INVALID_HANDLE_VALUE) when there is none. Close is the
// platform's own.
struct FileHandleTraits {
  using Type = intptr_t;
  static Type None() { return -1; }
  static bool IsNone(Type handle) { return handle == -1; }
  static void Close(Type handle);
};

class File {
 public:
  File() = default;

  // CreateFileW with FILE_ATTRIBUTE_NORMAL. On failure the result is not
  // open and LastError() tells why.
  static File Open(std::u16string_view path, FileAccess access, unsigned share, FileDisposition disposition);

  bool IsOpen() const { return handle_.IsValid(); }
  explicit operator bool() const { return IsOpen(); }

  // GetFileSizeEx: the whole size in bytes; nullopt when it cannot be told.
  std::optional<uint64_t> Size() const;
  // ReadFile / WriteFile: true on success; *done receives the bytes moved.
  bool Read(void* buffer, uint32_t count, uint32_t* done);
  bool Write(const void* data, uint32_t count, uint32_t* done);
  // Forces written data to the disk.
  bool Flush();
  void Close() { handle_.Reset(); }

 private:
  friend File CreateTempBeside(std::u16string_view target, std::u16string* tempPath);
  explicit File(intptr_t handle) : handle_(handle) {}
  intptr_t Raw() const { return handle_.Get(); }
  UniqueHandle<FileHandleTraits> handle_;
};

// _waccess modes.
constexpr int kAccessExists = 0;
constexpr int kAccessWrite = 2;
constexpr int kAccessRead = 4;
constexpr int kAccessReadWrite = kAccessRead | kAccessWrite;

// _waccess: 0 when the file exists and allows the access, else -1.
int Access(std::u16string_view path, int mode);

// Whether the path names an existing folder.
bool IsFolder(std::u16string_view path);

// _wchmod with _S_IREAD (0x100) / _S_IWRITE (0x80) bits: 0 on success, -1.
constexpr int kModeRead = 0x100;
constexpr int kModeWrite = 0x80;
int Chmod(std::u16string_view path, int mode);

// Deletes a file; true on success.
bool RemoveFile(std::u16string_view path);

// What stands at a path, a link at its end not followed: nothing, a regular
// file, a link (a symbolic link, or on Windows a junction or any other
// reparse point), or anything else (a folder, a device).
enum class PathEntry { Missing, RegularFile, Link, Other };
PathEntry EntryAt(std::u16string_view path);

// Removes the link at the path itself, never what it points to: true on
// success; otherwise LastError() tells why.
bool RemoveLink(std::u16string_view path);

// Creates a new, empty, uniquely named file beside the file `target` names,
// open for writing without sharing, and tells its path: that file's name
// followed by ".~tavrel-" and six letters or digits (platform/TempName.h).
// A target that is a link names the file it points to, so the temporary
// file lies in that file's folder; a long path takes the system's long-path
// form where it needs one. The file stays locked while it is open
// (natively an exclusive advisory lock, on Windows no sharing), so a
// temporary file that is not locked was left by a process that died while
// saving. Those of this target are removed first: only names with the
// marker, never a locked one, never another file of the user's.
File CreateTempBeside(std::u16string_view target, std::u16string* tempPath);

// Replaces `target` by `source` in one step, so readers see the old or the
// new file, never a mix. A target that is a link stays one: the file it
// points to is replaced. The call syncs both steps itself; the caller need
// not flush `source` first. It syncs the source's data before the replace
// (POSIX fsync; Windows FlushFileBuffers), then the replace (POSIX: rename,
// then fsync of the folder; Windows: MoveFileExW with write-through).
// Fails, leaving both files, when the source's data cannot be synced, the
// target is read-only, or the target is held open without delete sharing.
// A failed sync of the folder after the rename is not reported: the target
// is already replaced by then.
bool ReplaceFileAtomically(std::u16string_view source, std::u16string_view target);

}  // namespace tavrel::platform
