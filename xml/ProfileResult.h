// What reading or writing a profile file came to: the status, the system's error code where there
// is one, and for reading the place where it stopped. The 1/0 operations of the profile library
// (CXmlParser::LoadFile, CXmlProfile::Load and Save) answer Ok() of these.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ErrorText.h"

// X(Status, Ok(), file fault, text). A row with a file fault other than None
// describes itself by the system code's text (platform/ErrorText.h) when
// there is a code, by its own text otherwise.
#define TAVREL_PROFILE_STATUSES(X)                                                                  \
  X(Loaded, true, None, "read")                                                                     \
  X(CutShort, true, None, "the file ends before its profile is closed; it may have been cut short") \
  X(NoProfile, true, None, "the file holds no profile; read as an empty profile")                   \
  X(EmptyFile, false, None, "the file is empty; read as an empty profile")                          \
  X(RepeatedSection, false, None, "repeated; reading stopped here")                                 \
  X(Saved, true, None, "saved")                                                                     \
  X(WrittenInPlace, true, None, "written in place: no temporary file could be made in its folder")  \
  X(NoFileName, false, None, "no file name")                                                        \
  X(NotFound, false, NotFound, "file not found")                                                    \
  X(AccessDenied, false, AccessDenied, "access denied")                                             \
  X(ReadOnly, false, ReadOnly, "read-only")                                                         \
  X(IsFolder, false, IsFolder, "is a folder")                                                       \
  X(InUse, false, InUse, "in use by another program")                                               \
  X(ReadFailed, false, Other, "the read failed")                                                    \
  X(WriteFailed, false, Other, "the write failed")

namespace tavrel::xml {

#define TAVREL_PROFILE_STATUS_NAME(name, ok, fault, text) name,
enum class ProfileStatus { TAVREL_PROFILE_STATUSES(TAVREL_PROFILE_STATUS_NAME) };
#undef TAVREL_PROFILE_STATUS_NAME

struct ProfileResult {
  ProfileStatus status = ProfileStatus::Loaded;
  // The system's error code (GetLastError) of a failed open, read, write or replace; else 0.
  uint32_t systemCode = 0;
  // Where reading stopped (RepeatedSection: the section's "<") or where the file ends (CutShort):
  // the byte offset in the file, the line and the column (from 1, in UTF-16 units). Line 0: none.
  uint64_t offset = 0;
  uint32_t line = 0;
  uint32_t column = 0;
  // RepeatedSection: the section's name as the file spells it.
  std::u16string section;

  static ProfileResult Of(ProfileStatus status) { return {status, 0, 0, 0, 0, {}}; }

  // Whether the 1/0 form of the operation answers 1.
  bool Ok() const;
  explicit operator bool() const { return Ok(); }
  bool HasPlace() const { return line != 0; }
  // One UTF-8 line without a final full stop, such as `section "General"
  // repeated; reading stopped here` or "in use by another program".
  std::string Describe() const;
};

// The status for a failed open, read, write or replace of a file.
ProfileStatus StatusOfFault(platform::FileFault fault, ProfileStatus otherwise);

// A result of a failed file operation on `path`, told by the code it left.
ProfileResult FileFailure(std::u16string_view path, uint32_t code, ProfileStatus otherwise);

}  // namespace tavrel::xml
