#include <cstring>

#include "platform/Codepage.h"
#include "platform/File.h"
#include "xml/ProfileLines.h"
#include "xml/XmlProfile.h"

namespace tavrel::xml {

namespace {

using platform::File;

constexpr size_t kMinimumCapacity = 4096;
constexpr size_t kCapacityReserve = 2;
constexpr size_t kAllocationSlack = 100;

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
  // An 8-bit code page gives at most two bytes per unit, but a UTF-8 system
  // code page gives up to three, so the converted size counts too.
  const std::string ansiBytes = ansi ? platform::Utf16ToAnsi(text) : std::string();
  const size_t needed = ansi && ansiBytes.size() > 2 * text.size() ? ansiBytes.size() : 2 * text.size();
  if (buffer_ == nullptr || needed > capacity_) {
    capacity_ = (needed > kMinimumCapacity ? needed : kMinimumCapacity) + kCapacityReserve;
    buffer_ = std::make_unique<char[]>(capacity_ + kAllocationSlack);
  }
  size_t count = 0;
  if (ansi) {
    count = ansiBytes.size();
    std::memcpy(buffer_.get(), ansiBytes.data(), count);
  } else {
    // Little-endian whatever the machine.
    for (char16_t unit : text) {
      buffer_[count++] = static_cast<char>(unit & 0xFF);
      buffer_[count++] = static_cast<char>(unit >> 8);
    }
  }
  return WriteAll(*file, buffer_.get(), count) ? 1 : 0;
}

int CXmlProfile::WriteProfile(File& file, ProfileEncoding mode) {
  const bool written = WriteProfileLines(sections_, mode == ProfileEncoding::Ansi,
                                         [this, &file, mode](std::u16string_view line, bool first) {
                                           return WriteText(&file, line, mode, first) != 0;
                                         });
  return written ? 1 : 0;
}

int CXmlProfile::Save(const char16_t* fileName, ProfileEncoding mode) {
  return SaveWithResult(fileName, mode) ? 1 : 0;
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
  if (WriteProfile(temp, mode) == 0 || !temp.Flush()) {
    ProfileResult result = failure(ProfileStatus::WriteFailed);
    temp.Close();
    platform::RemoveFile(tempPath);
    return result;
  }
  temp.Close();
  if (platform::ReplaceFileAtomically(tempPath, target)) return ProfileResult::Of(ProfileStatus::Saved);
  ProfileResult result = failure(ProfileStatus::WriteFailed);
  platform::RemoveFile(tempPath);
  return result;
}

}  // namespace tavrel::xml
