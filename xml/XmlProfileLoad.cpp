#include "platform/Text.h"
#include "xml/ProfileMarkup.h"
#include "xml/XmlElement.h"
#include "xml/XmlFileText.h"
#include "xml/XmlProfile.h"
#include "xml/XmlScan.h"
#include "xml/XmlText.h"

namespace tavrel::xml {

// The tag scanner's consumer that builds the profile as the tags come: the
// sections of a "profile" root and their keys, the rest passed over.
class ProfileBuilder {
 public:
  static constexpr bool kWantsText = false;

  explicit ProfileBuilder(CXmlProfile& profile) : profile_(profile) {}

  bool Root(std::u16string_view name, std::u16string_view /*attributes*/, bool /*transient*/) {
    isProfile_ = name == markup::kProfile;
    return isProfile_;
  }

  bool Element(size_t depth, std::u16string_view name, std::u16string_view attributes, const TextPlace& tag,
               std::pmr::u16string* carried) {
    if (depth == 1) return Section(name, attributes, tag);
    if (depth != 2 || !inSection_ || name != markup::kKey) return true;
    static constexpr std::u16string_view kNames[] = {markup::kName, markup::kValue, markup::kReadOnly};
    std::u16string_view values[3];
    FindAttributes(attributes, kNames, values, 3);
    if (values[0].empty() || values[1].empty()) return true;
    const std::u16string_view keyName = Decoded(values[0], keyName_);
    if (section_ == nullptr) section_ = profile_.AddSection(sectionName_, sectionReadOnly_);
    const int32_t readOnly = text::ParseInt(values[2]);
    carried == nullptr ? profile_.AddKey(section_, keyName, values[1], readOnly, true)
                       : profile_.AddKey(section_, keyName, values[1], readOnly, *carried);
    return true;
  }

  void Close() {}

  void EndSection() {  // after the last key of the section being read
    if (section_ != nullptr) CXmlProfile::DropRepeatedKeys(*section_);
    section_ = nullptr;
  }

  bool IsProfile() const { return isProfile_; }
  // RepeatedSection with its name and the place of its tag, once it stopped.
  const ProfileResult* Stopped() const { return repeated_.section.empty() ? nullptr : &repeated_; }
  const TextPlace& StoppedAt() const { return repeatedAt_; }

 private:
  // Entities are decoded (into `buffer`) only where a "&" stands; neither a
  // name's emptiness nor a read-only flag's number can change by it.
  static std::u16string_view Decoded(std::u16string_view raw, std::u16string& buffer) {
    if (FindUnit(raw, u'&') == std::u16string_view::npos) return raw;
    buffer.assign(raw);
    buffer.resize(DecodeEntitiesInPlace(buffer.data(), buffer.size()));
    return buffer;
  }

  // A child of the root: a section when it is named "section" and has a
  // name; it becomes one with its first usable key.
  bool Section(std::u16string_view name, std::u16string_view attributes, const TextPlace& tag) {
    inSection_ = false;
    EndSection();
    if (name != markup::kSection) return true;
    static constexpr std::u16string_view kNames[] = {markup::kName, markup::kReadOnly};
    std::u16string_view values[2];
    FindAttributes(attributes, kNames, values, 2);
    if (values[0].empty()) return true;
    sectionName_ = Decoded(values[0], keyName_);
    if (profile_.FindSection(sectionName_.c_str()) != nullptr) {
      repeated_ = ProfileResult::Of(ProfileStatus::RepeatedSection);
      repeated_.section = sectionName_;
      repeatedAt_ = tag;
      return false;
    }
    sectionReadOnly_ = text::ParseInt(values[1]);
    inSection_ = true;
    return true;
  }

  CXmlProfile& profile_;
  bool isProfile_ = false;
  bool inSection_ = false;  // the current child of the root is a usable section
  std::u16string sectionName_;
  int32_t sectionReadOnly_ = 0;
  ProfileSection* section_ = nullptr;  // once it has a key
  std::u16string keyName_;
  ProfileResult repeated_;  // named once reading stopped at it
  TextPlace repeatedAt_;
};

ProfileResult CXmlProfile::LoadWithResult(const char16_t* fileName, ProfileEncoding mode, size_t pieceBytes,
                                          const TextSink& copy) {
  RemoveAll();
  if (fileName == nullptr) return ProfileResult::Of(ProfileStatus::NoFileName);
  ProfileResult result;
  bool unread = false;
  {  // The scanner's carried tag goes back to the pool before the pool may be emptied.
    ProfileBuilder builder(*this);
    TagScanner<ProfileBuilder> scanner(builder, &memory_);
    ProfileFileReader reader;
    result = reader.Read(
        fileName, mode,
        [&](char16_t* first, char16_t* last) {
          if (copy && !copy(first, last)) return false;
          return scanner.Feed(first, last) || static_cast<bool>(copy);
        },
        pieceBytes,
        [this, &scanner](uint64_t units) {
          scanner.Expect(units);
          memory_.BeginBulk(static_cast<size_t>(units) * 3);  // entries: up to 3 bytes a unit
        });
    builder.EndSection();
    memory_.EndBulk();
    if (!result || result.status == ProfileStatus::EmptyFile) {
      unread = true;  // emptied below
    } else if (const ProfileResult* stopped = builder.Stopped()) {
      result = *stopped;
      reader.SetPlace(builder.StoppedAt(), result);
    } else if (!builder.IsProfile()) {
      result = ProfileResult::Of(ProfileStatus::NoProfile);
    } else if (scanner.EndedEarly()) {
      result.status = ProfileStatus::CutShort;
      reader.SetPlace(scanner.EndPlace(), result);
    }
  }
  if (unread) RemoveAll();
  return result;
}

}  // namespace tavrel::xml
