#include "xml/ProfileResult.h"

#include "platform/Text.h"

namespace tavrel::xml {

namespace {

struct StatusRow {
  ProfileStatus status;
  bool ok;
  platform::FileFault fault;
  const char* text;
};

#define TAVREL_PROFILE_STATUS_ROW(name, ok, fault, text) \
  StatusRow{ProfileStatus::name, ok, platform::FileFault::fault, text},
constexpr StatusRow kRows[] = {TAVREL_PROFILE_STATUSES(TAVREL_PROFILE_STATUS_ROW)};
#undef TAVREL_PROFILE_STATUS_ROW

const StatusRow& Row(ProfileStatus status) { return kRows[static_cast<size_t>(status)]; }

}  // namespace

bool ProfileResult::Ok() const { return Row(status).ok; }

std::string ProfileResult::Describe() const {
  const StatusRow& row = Row(status);
  if (status == ProfileStatus::RepeatedSection)
    return "section \"" + text::ToUtf8(section) + "\" " + row.text;
  if (row.fault != platform::FileFault::None && systemCode != 0) return FileFaultText(row.fault, systemCode);
  return row.text;
}

ProfileStatus StatusOfFault(platform::FileFault fault, ProfileStatus otherwise) {
  if (fault == platform::FileFault::Other || fault == platform::FileFault::None) return otherwise;
  for (const StatusRow& row : kRows) {
    if (row.fault == fault) return row.status;
  }
  return otherwise;
}

ProfileResult FileFailure(std::u16string_view path, uint32_t code, ProfileStatus otherwise) {
  ProfileResult result;
  result.status = StatusOfFault(platform::ClassifyFileError(path, code), otherwise);
  result.systemCode = code;
  return result;
}

}  // namespace tavrel::xml
