#include "xml/XmlProfile.h"

#include "xml/ProfileMarkup.h"
#include "xml/XmlText.h"

namespace tavrel::xml {

namespace {

// ` name="value"` with the value escaped.
std::u16string Attribute(std::u16string_view name, std::u16string_view value) {
  return std::u16string(u" ").append(name).append(u"=\"").append(EscapeAttribute(value)).append(u"\"");
}

std::u16string ReadOnlyAttribute(int32_t readOnly) {
  return readOnly != 0 ? Attribute(markup::kReadOnly, u"1") : std::u16string();
}

std::u16string ElementLine(std::u16string_view indent, std::u16string_view open, std::u16string_view name,
                           std::u16string_view rest) {
  return std::u16string(indent).append(open).append(name).append(rest).append(u"\r\n");
}

}  // namespace

bool WriteProfileLines(const ProfileSectionList& sections, bool ansi, const LineSink& sink) {
  const std::u16string declaration = std::u16string(u"<?xml version=\"1.0\" encoding=\"UTF-")
                                         .append(ansi ? u"8" : u"16")
                                         .append(u"\"?>\r\n");
  if (!sink(declaration, true)) return false;
  if (!sink(ElementLine(u"", u"<", markup::kProfile, u">"), false)) return false;
  for (const ProfileSection& section : sections) {
    bool opened = false;
    for (const ProfileKey& key : section.keys) {
      if (key.name.empty() || key.value.empty()) continue;
      if (!opened && !sink(ElementLine(u"\t", u"<", markup::kSection,
                                       Attribute(markup::kName, section.name) +
                                           ReadOnlyAttribute(section.readOnly) + u">"),
                           false)) {
        return false;
      }
      opened = true;
      const std::u16string line =
          ElementLine(u"\t\t", u"<", markup::kKey,
                      Attribute(markup::kName, key.name) + Attribute(markup::kValue, key.value) +
                          ReadOnlyAttribute(key.readOnly) + u"/>");
      if (!sink(line, false)) return false;
    }
    if (opened && !sink(ElementLine(u"\t", u"</", markup::kSection, u">"), false)) return false;
  }
  return sink(ElementLine(u"", u"</", markup::kProfile, u">"), false);
}

}  // namespace tavrel::xml
