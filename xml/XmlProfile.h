// An in-memory store of named sections holding named keys with text values,
// loaded from and saved to a small XML file:
//
//   <?xml version="1.0" encoding="UTF-16"?>
//   <profile>
//   	<section name="General">
//   		<key name="EmbAppType" value="1"/>
//   	</section>
//   </profile>
//
// String arguments are NUL-terminated UTF-16 texts; nullptr means "absent",
// which is not the same as an empty text: an absent key deletes a section and
// an absent value deletes a key. Section and key names are compared ignoring
// ASCII letter case and keep the case they were created with. Read-only
// entries refuse every change through SetValue/SetKeyValue. Every lookup,
// insertion and removal takes expected constant time: a hash index of the
// folded names stands beside the ordered lists (short lists are scanned).
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <memory_resource>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "xml/NameIndex.h"
#include "xml/ProfileEncoding.h"
#include "xml/ProfileResult.h"
#include "xml/XmlFileText.h"

namespace tavrel::xml {

// Texts and lists allocate from the memory of the profile that holds them.
using ProfileText = std::pmr::u16string;

// The memory of one profile's entries: while a file loads, in order from a
// few large blocks sized from the file; else from a pool. Emptying the whole
// profile hands nothing back one by one: all is released whole.
class ProfilePool final : public std::pmr::memory_resource {
 public:
  // Entries from here to EndBulk come from blocks of a 32nd of `bytes`, about
  // what they take in all; a larger one has a block of its own, freed with it.
  void BeginBulk(size_t bytes);
  void EndBulk() { bulk_ = false; }

  template <class Empty>
  void EmptyAll(Empty empty) {
    forgetting_ = true;
    empty();
    forgetting_ = false;
    pool_.reset();
    blocks_.clear();
    used_ = 0;
  }

 private:
  struct Block {
    std::unique_ptr<std::byte[]> bytes;
    size_t size;
  };
  void* do_allocate(size_t bytes, size_t alignment) override;
  void do_deallocate(void* block, size_t bytes, size_t alignment) override;
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }

  std::optional<std::pmr::unsynchronized_pool_resource> pool_;  // made on first need
  std::vector<Block> blocks_;
  size_t used_ = 0;  // of the last block
  size_t blockSize_ = 0;
  bool bulk_ = false;
  bool forgetting_ = false;
};

struct ProfileKey {
  ProfileText name;  // empty only for a key set with an empty name
  ProfileText value;
  int32_t readOnly = 0;
};

struct ProfileSection {
  using KeyIndex = NameIndex<std::pmr::list<ProfileKey>::iterator>;
  ProfileText name;  // never empty
  int32_t readOnly = 0;
  std::pmr::list<ProfileKey> keys;
  // Of a section of more than a few keys, from its first look-up on.
  std::unique_ptr<KeyIndex> keyIndex;
};

using ProfileSectionList = std::pmr::list<ProfileSection>;

// One line of a profile file (`first`: the declaration); false stops writing.
using LineSink = std::function<bool(std::u16string_view line, bool first)>;

// Hands `sink` each line, ended by CR LF: the declaration (UTF-8 when `ansi`,
// else UTF-16), the root, each section with a key that has a name and a
// value, those keys (escaped), the root end. False once the sink refuses one.
bool WriteProfileLines(const ProfileSectionList& sections, bool ansi, const LineSink& sink);

class CXmlProfile {
 public:
  CXmlProfile() = default;
  virtual ~CXmlProfile() { RemoveAll(); }
  CXmlProfile(const CXmlProfile&) = delete;
  CXmlProfile& operator=(const CXmlProfile&) = delete;

  // Replaces the content with the file's. 1 when the file was read and no
  // section name repeats in it; 0 for a missing, empty or unreadable file
  // (profile left empty) and at a repeated section (earlier sections kept).
  int Load(const char16_t* fileName, ProfileEncoding mode) { return LoadWithResult(fileName, mode) ? 1 : 0; }
  // Load, saying what came of it: Loaded; CutShort (the file ends before its profile is closed;
  // what stands before is loaded); NoProfile (other markup: an empty profile); RepeatedSection
  // (named, placed at its tag, where reading stopped); or, the profile empty, EmptyFile, NoFileName
  // or why the file could not be read, with the system's code. Read `pieceBytes` at a time; `copy`
  // gets each piece first, and then all is read even past a stop.
  ProfileResult LoadWithResult(const char16_t* fileName, ProfileEncoding mode,
                               size_t pieceBytes = kProfilePieceBytes, const TextSink& copy = {});

  // Writes UTF-16 with the mark FF FE, or the ANSI code page in mode Ansi, to a temporary file beside
  // the target that then replaces it (a failure leaves the old file); without one, in place (a
  // failure cuts it short). A target not open to writing is refused untouched. 1 when all writes did.
  int Save(const char16_t* fileName, ProfileEncoding mode) { return SaveWithResult(fileName, mode) ? 1 : 0; }
  // Save, saying what came of it: Saved, WrittenInPlace, or why not (code).
  ProfileResult SaveWithResult(const char16_t* fileName, ProfileEncoding mode);

  std::u16string GetString(const char16_t* section, const char16_t* key, const char16_t* defaultValue);
  int32_t GetInt(const char16_t* section, const char16_t* key, int32_t defaultValue);
  // 1 when the key now holds the value; 0 when refused, deleted or absent.
  int SetString(const char16_t* section, const char16_t* key, const char16_t* value);
  int SetInt(const char16_t* section, const char16_t* key, int32_t value);
  // Creates the section when needed, then SetKeyValue: the key set or made.
  ProfileKey* SetValue(const char16_t* section, const char16_t* key, const char16_t* value, int32_t readOnly);
  // key nullptr: deletes the section. value nullptr: deletes the key. Refused
  // (nullptr, nothing changed) in a read-only section or on a read-only key.
  // `entry` is one of this profile's sections (FindSection, SetValue).
  ProfileKey* SetKeyValue(ProfileSection* entry, const char16_t* key, const char16_t* value,
                          int32_t readOnly);

  ProfileSection* FindSection(const char16_t* name);
  ProfileKey* FindKey(ProfileSection* entry, const char16_t* name);
  void RemoveAll();

  // Writes one text to an open file, UTF-16 unless the mode is Ansi; with
  // `writeMark` a UTF-16 file gets FF FE first. Nonzero on success; 0 for no
  // file, an empty text, or a failed or short write (of the mark too).
  int WriteText(platform::File* file, std::u16string_view text, ProfileEncoding mode, bool writeMark);

  const ProfileSectionList& Sections() const { return sections_; }

 private:
  friend class ProfileBuilder;
  int WriteProfile(platform::File& file, ProfileEncoding mode);
  using SectionList = ProfileSectionList;
  using KeyList = std::pmr::list<ProfileKey>;

  // Appends a section and indexes it; the name must be new.
  ProfileSection* AddSection(std::u16string_view name, int32_t readOnly);
  // Appends a key and indexes it, unless the section has a key of that name
  // (nullptr then); keys without a name are always appended. From a file, the
  // value is decoded here and only a short section is searched: past that,
  // DropRepeatedKeys follows the last key.
  ProfileKey* AddKey(ProfileSection* entry, std::u16string_view name, std::u16string_view value,
                     int32_t readOnly, bool fromFile = false);
  // The same from a file, the value lying in `holder`, which becomes the value
  // when it is of this profile's memory and the value fills at least half of it.
  ProfileKey* AddKey(ProfileSection* entry, std::u16string_view name, std::u16string_view value,
                     int32_t readOnly, ProfileText& holder);
  // Drops each key whose name an earlier key of the section has.
  static void DropRepeatedKeys(ProfileSection& entry);

  // Declared first: it outlives every entry allocated from it.
  ProfilePool memory_;
  SectionList sections_{&memory_};
  std::unique_ptr<NameIndex<SectionList::iterator>> sectionIndex_;  // of more than a few sections
};

}  // namespace tavrel::xml
