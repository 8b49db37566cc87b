#include "platform/Codepage.h"
#include "platform/File.h"
#include "xml/XmlProfile.h"

namespace tavrel::xml {

namespace {

using platform::File;

bool WriteAll(File& file, const void* data, size_t count) {
  uint32_t done = 0;
  return file.Write(data, static_cast<uint32_t>(count), &done) && done == count;
}

}  // namespace

int CXmlProfile::WriteText(File* file, std::u16string_view text, ProfileEncoding mode, bool writeMark) {
  if (file == nullptr || !file->IsOpen() || text.empty()) return 0;
  const bool ansi = mode == ProfileEncoding::Ansi;
  if (writeMark && !ansi) {
    static constexpr unsigned char kMark[2] = {0xFF, 0xFE};
    if (!WriteAll(*file, kMark, sizeof kMark)) return 0;
  }
  if (ansi) {
    const std::string bytes = platform::Utf16ToAnsi(text);
    return WriteAll(*file, bytes.data(), bytes.size()) ? 1 : 0;
  }
  // The units as they are: every target is little-endian.
  return WriteAll(*file, text.data(), 2 * text.size()) ? 1 : 0;
}

int CXmlProfile::WriteProfile(File& file, ProfileEncoding mode) {
  const bool written = WriteProfileLines(sections_, mode == ProfileEncoding::Ansi,
                                         [this, &file, mode](std::u16string_view line, bool first) {
                                           return WriteText(&file, line, mode, first) != 0;
                                         });
  return written ? 1 : 0;
}

ProfileResult CXmlProfile::SaveWithResult(const char16_t* fileName, ProfileEncoding mode) {
  if (fileName == nullptr || *fileName == 0) return ProfileResult::Of(ProfileStatus::NoFileName);
  const std::u16string_view target(fileName);
  const unsigned share = platform::kShareRead | platform::kShareWrite;
  const auto failure = [target](ProfileStatus otherwise) {
    return FileFailure(target, platform::LastError(), otherwise);
  };

  // An existing target must be writable as the in-place write would open it:
  // a read-only file or one held without sharing is refused, untouched.
  if (platform::Access(target, platform::kAccessExists) == 0) {
    File probe =
        File::Open(target, platform::FileAccess::ReadWrite, share, platform::FileDisposition::OpenExisting);
    if (!probe) return failure(ProfileStatus::WriteFailed);
  }

  std::u16string tempPath;
  File temp = platform::CreateTempBeside(target, &tempPath);
  if (!temp) {
    // No temporary file possible here: write the target in place.
    File file =
        File::Open(target, platform::FileAccess::ReadWrite, share, platform::FileDisposition::CreateAlways);
    if (!file) return failure(ProfileStatus::WriteFailed);
    if (WriteProfile(file, mode) == 0) return failure(ProfileStatus::WriteFailed);
    return ProfileResult::Of(ProfileStatus::WrittenInPlace);
  }
  // The failure is told by the code the failing call left.
  const bool written = WriteProfile(temp, mode) != 0 && temp.Flush();
  ProfileResult result =
      written ? ProfileResult::Of(ProfileStatus::Saved) : failure(ProfileStatus::WriteFailed);
  temp.Close();
  if (written && !platform::ReplaceFileAtomically(tempPath, target))
    result = failure(ProfileStatus::WriteFailed);
  if (!result) platform::RemoveFile(tempPath);
  return result;
}

}  // namespace tavrel::xml
