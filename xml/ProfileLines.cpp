#include "xml/XmlProfile.h"

#include "xml/ProfileMarkup.h"
#include "xml/XmlEntities.h"

namespace tavrel::xml {

namespace {

// ` name="value"` with the value escaped.
std::u16string Attribute(std::u16string_view name, std::u16string_view value) {
  std::u16string out = u" ";
  out += name;
  out += u"=\"";
  out += EscapeAttribute(value);
  out += u'"';
  return out;
}

std::u16string ReadOnlyAttribute(int32_t readOnly) {
  return readOnly != 0 ? Attribute(markup::kReadOnly, u"1") : std::u16string();
}

std::u16string Declaration(bool ansi) {
  std::u16string line = u"<?xml version=\"1.0\" encoding=\"UTF-";
  line += ansi ? u"8" : u"16";
  line += u"\"?>\r\n";
  return line;
}

std::u16string ElementLine(std::u16string_view indent, std::u16string_view open, std::u16string_view name,
                           std::u16string_view rest) {
  std::u16string line(indent);
  line += open;
  line += name;
  line += rest;
  line += u"\r\n";
  return line;
}

std::u16string SectionStart(const ProfileSection& section) {
  return ElementLine(u"\t", u"<", markup::kSection,
                     Attribute(markup::kName, section.name) + ReadOnlyAttribute(section.readOnly) + u">");
}

std::u16string KeyLine(const ProfileKey& key) {
  return ElementLine(u"\t\t", u"<", markup::kKey,
                     Attribute(markup::kName, key.name) + Attribute(markup::kValue, key.value) +
                         ReadOnlyAttribute(key.readOnly) + u"/>");
}

}  // namespace

bool WriteProfileLines(const ProfileSectionList& sections, bool ansi, const LineSink& sink) {
  if (!sink(Declaration(ansi), true)) return false;
  if (!sink(ElementLine(u"", u"<", markup::kProfile, u">"), false)) return false;
  for (const ProfileSection& section : sections) {
    bool opened = false;
    for (const ProfileKey& key : section.keys) {
      if (key.name.empty() || key.value.empty()) continue;
      if (!opened && !sink(SectionStart(section), false)) return false;
      opened = true;
      if (!sink(KeyLine(key), false)) return false;
    }
    if (opened && !sink(ElementLine(u"\t", u"</", markup::kSection, u">"), false)) return false;
  }
  return sink(ElementLine(u"", u"</", markup::kProfile, u">"), false);
}

}  // namespace tavrel::xml
