#include "platform/FinalPath.h"

#include <string>

#include "platform/Text.h"

namespace tavrel::platform {

bool ReachedThroughLink(std::u16string_view folderFinal, std::u16string_view fileFinal,
                        std::u16string_view name) {
  if (folderFinal.empty() || fileFinal.empty() || name.empty()) return false;
  std::u16string expected(folderFinal);
  if (expected.back() != u'\\') expected += u'\\';
  expected += name;
  return !text::EqualsNoCase(expected, fileFinal);
}

}  // namespace tavrel::platform
