#include "platform/ErrorText.h"

#include "platform/ErrorCodes.h"
#include "platform/File.h"

namespace tavrel::platform {

namespace {

struct CodeText {
  uint32_t code;
  const char* text;
};

constexpr CodeText kTexts[] = {
    {kErrorFileNotFound, "file not found"},
    {kErrorPathNotFound, "folder not found"},
    {kErrorAccessDenied, "access denied"},
    {kErrorNotEnoughMemory, "not enough memory"},
    {kErrorSharingViolation, "in use by another program"},
    {kErrorLockViolation, "part of the file is locked by another program"},
    {kErrorFileExists, "the file exists"},
    {kErrorDiskFull, "the disk is full"},
    {kErrorInvalidName, "the name is not valid"},
    {kErrorFilenameTooLong, "the name is too long"},
};

}  // namespace

std::string ErrorText(uint32_t code) {
  for (const CodeText& entry : kTexts) {
    if (entry.code == code) return entry.text;
  }
  return SystemErrorMessage(code);
}

std::string FileErrorText(std::u16string_view path, uint32_t code) {
  if (code == kErrorAccessDenied && IsFolder(path)) return "is a folder";
  if (code == kErrorAccessDenied && Access(path, 0) == 0 && Access(path, 2) != 0) return "read-only";
  return ErrorText(code);
}

}  // namespace tavrel::platform
