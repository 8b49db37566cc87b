#include "platform/ErrorText.h"

#include "platform/ErrorCodes.h"
#include "platform/File.h"
#include "platform/LastError.h"

namespace tavrel::platform {

std::string ErrorText(uint32_t code) {
  if (const ErrorCodeRow* row = FindErrorCode(code)) return std::string(row->text);
  return SystemErrorMessage(code);
}

FileFault ClassifyFileError(std::u16string_view path, uint32_t code) {
  switch (code) {
    case kErrorSuccess:
      return FileFault::None;
    case kErrorFileNotFound:
    case kErrorPathNotFound:
      return FileFault::NotFound;
    case kErrorSharingViolation:
    case kErrorLockViolation:
      return FileFault::InUse;
    case kErrorAccessDenied:
      if (IsFolder(path)) return FileFault::IsFolder;
      if (Access(path, kAccessExists) == 0 && Access(path, kAccessWrite) != 0) return FileFault::ReadOnly;
      return FileFault::AccessDenied;
    default:
      return FileFault::Other;
  }
}

std::string FileFaultText(FileFault fault, uint32_t code) {
  switch (fault) {
    case FileFault::IsFolder:
      return "is a folder";
    case FileFault::ReadOnly:
      return "read-only";
    default:
      return ErrorText(code);
  }
}

std::string FileErrorText(std::u16string_view path, uint32_t code) {
  return FileFaultText(ClassifyFileError(path, code), code);
}

}  // namespace tavrel::platform
