#include "platform/Text.h"
#include "xml/ProfileMarkup.h"
#include "xml/XmlParser.h"
#include "xml/XmlProfile.h"

namespace tavrel::xml {

int CXmlProfile::Load(const char16_t* fileName, ProfileEncoding mode) {
  return LoadWithResult(fileName, mode) ? 1 : 0;
}

ProfileResult CXmlProfile::LoadWithResult(const char16_t* fileName, ProfileEncoding mode) {
  RemoveAll();
  if (fileName == nullptr) return ProfileResult::Of(ProfileStatus::NoFileName);
  CXmlParser parser;
  ProfileResult read = parser.LoadFileWithResult(fileName, mode);
  if (!read) return read;
  return LoadParsed(parser, read);
}

ProfileResult CXmlProfile::LoadParsed(CXmlParser& parser, const ProfileResult& read) {
  RemoveAll();
  if (!read) return read;
  CXmlElement* root = parser.GetRoot();
  if (root->Name() != markup::kProfile) return ProfileResult::Of(ProfileStatus::NoProfile);
  // Room in the indexes for every element that may become an entry.
  size_t keyElements = 0;
  for (size_t i = 0; i < root->ChildCount(); ++i) {
    const size_t keys = root->Child(i).ChildCount();
    if (keys > kScannedKeys) keyElements += keys;
  }
  sectionIndex_.Reserve(root->ChildCount());
  keyIndex_.Reserve(keyElements);
  for (CXmlElement* element = parser.GetFirstChild(root); element != nullptr;
       element = parser.GetNextChild(root)) {
    if (element->Name() != markup::kSection) continue;
    const std::u16string name = element->GetAttribute(markup::kName);
    if (name.empty()) continue;
    const int32_t readOnly = text::ParseInt(element->GetAttribute(markup::kReadOnly));
    if (FindSection(name.c_str()) != nullptr) {
      ProfileResult stopped = ProfileResult::Of(ProfileStatus::RepeatedSection);
      stopped.section = name;
      if (const char16_t* tag = parser.TagStart(*element)) parser.SetPlace(tag, stopped);
      return stopped;
    }

    // The section is created with its first usable key, so a section element
    // without one leaves no trace.
    ProfileSection* section = nullptr;
    for (CXmlElement* child = parser.GetFirstChild(element); child != nullptr;
         child = parser.GetNextChild(element)) {
      if (child->Name() != markup::kKey) continue;
      std::u16string keyName = child->GetAttribute(markup::kName);
      std::u16string value = child->GetAttribute(markup::kValue);
      if (keyName.empty() || value.empty()) continue;
      const int32_t keyReadOnly = text::ParseInt(child->GetAttribute(markup::kReadOnly));
      if (section == nullptr) section = AddSection(name, readOnly);
      if (FindKey(section, keyName.c_str()) != nullptr) continue;
      AddKey(section, keyName, value, keyReadOnly);
    }
  }
  return read;
}

}  // namespace tavrel::xml
