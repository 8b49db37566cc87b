#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/Text.h"
#include "tests/xml/ProfileFiles.h"
#include "xml/XmlProfile.h"

namespace tavrel::xml {
namespace {

using testing::Describe;

// The store as a plain ordered list searched from the front: the behaviour
// the indexed store must keep.
struct ModelKey {
  std::u16string name;
  std::u16string value;
  int32_t readOnly;
};
struct ModelSection {
  std::u16string name;
  int32_t readOnly;
  std::vector<ModelKey> keys;
};

class ModelProfile {
 public:
  int Set(const std::u16string& section, const std::u16string* key, const std::u16string* value,
          int32_t readOnly) {
    if (section.empty()) return 0;
    auto s = FindSection(section);
    if (s == sections_.end()) {
      sections_.push_back(ModelSection{section, 0, {}});
      s = std::prev(sections_.end());
    }
    if (s->readOnly != 0) return 0;
    if (key == nullptr) {
      sections_.erase(s);
      return 0;
    }
    for (auto k = s->keys.begin(); !key->empty() && k != s->keys.end(); ++k) {
      if (!text::EqualsNoCase(k->name, *key)) continue;
      if (k->readOnly != 0) return 0;
      if (value == nullptr) {
        s->keys.erase(k);
        return 0;
      }
      k->value = *value;
      return 1;
    }
    if (value == nullptr) return 0;
    s->keys.push_back(ModelKey{*key, *value, readOnly});
    return 1;
  }

  std::u16string Get(const std::u16string& section, const std::u16string& key) const {
    auto s = FindSection(section);
    if (s == sections_.end() || key.empty()) return u"<none>";
    for (const ModelKey& k : s->keys) {
      if (text::EqualsNoCase(k.name, key)) return k.value;
    }
    return u"<none>";
  }

  void Lock(const std::u16string& section) {
    auto s = FindSection(section);
    if (s != sections_.end()) s->readOnly = 1;
  }

  // As testing::Describe gives a profile.
  std::string Describe() const {
    std::string out;
    for (const ModelSection& s : sections_) {
      out += text::ToUtf8(s.name) + (s.readOnly != 0 ? "(ro)" : "") + "[";
      for (const ModelKey& k : s.keys) {
        out += text::ToUtf8(k.name) + "=" + text::ToUtf8(k.value) + (k.readOnly != 0 ? "(ro)" : "") + ";";
      }
      out += "]";
    }
    return out;
  }

 private:
  std::vector<ModelSection>::iterator FindSection(const std::u16string& name) {
    for (auto s = sections_.begin(); s != sections_.end(); ++s) {
      if (text::EqualsNoCase(s->name, name)) return s;
    }
    return sections_.end();
  }
  std::vector<ModelSection>::const_iterator FindSection(const std::u16string& name) const {
    return const_cast<ModelProfile*>(this)->FindSection(name);
  }

  std::vector<ModelSection> sections_;
};

// Names from a small pool in mixed letter case (and non-ASCII letters that
// must not fold), so that every operation meets existing entries, and enough
// operations that the index grows and reuses removed slots many times.
TEST(ProfileIndex, RandomOperationsMatchTheListSearch) {
  const std::u16string_view letters = u"aAbB\u00e4\u00c4_";
  std::mt19937 rng(31337u);
  auto pick = [&rng](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
  auto name = [&](int maxLength) {
    std::u16string out;
    const int length = pick(0, maxLength);
    for (int i = 0; i < length; ++i)
      out += letters[static_cast<size_t>(pick(0, static_cast<int>(letters.size()) - 1))];
    return out;
  };

  CXmlProfile profile;
  ModelProfile model;
  for (int step = 0; step < 60000; ++step) {
    const std::u16string section = name(3);
    const std::u16string key = name(3);
    const std::u16string value = name(2);
    const int op = pick(0, 99);
    if (op < 50) {
      const int32_t readOnly = pick(0, 20) == 0 ? 1 : 0;
      const bool set = profile.SetValue(section.c_str(), key.c_str(), value.c_str(), readOnly) != nullptr;
      ASSERT_EQ(set ? 1 : 0, model.Set(section, &key, &value, readOnly)) << step;
    } else if (op < 75) {
      ASSERT_EQ(profile.SetString(section.c_str(), key.c_str(), nullptr),
                model.Set(section, &key, nullptr, 0));
    } else if (op < 78) {
      ASSERT_EQ(profile.SetString(section.c_str(), nullptr, nullptr),
                model.Set(section, nullptr, nullptr, 0));
    } else if (op < 79) {
      if (ProfileSection* entry = profile.FindSection(section.c_str())) entry->readOnly = 1;
      model.Lock(section);
    } else {
      ASSERT_EQ(profile.GetString(section.c_str(), key.c_str(), u"<none>"), model.Get(section, key)) << step;
    }
    if (step % 997 == 0) {
      ASSERT_EQ(Describe(profile), model.Describe()) << step;
    }
  }
  ASSERT_EQ(Describe(profile), model.Describe());
}

// Many entries: every one is found under any letter case, and removing every
// other one leaves exactly the rest findable.
TEST(ProfileIndex, ManyEntriesStayFindableThroughGrowthAndRemoval) {
  CXmlProfile p;
  constexpr int kCount = 5000;
  for (int i = 0; i < kCount; ++i) {
    const std::u16string n = u"Key" + text::FormatInt(i);
    ASSERT_EQ(p.SetString(n.c_str(), n.c_str(), n.c_str()), 1);
    ASSERT_EQ(p.SetString(u"One", n.c_str(), n.c_str()), 1);
  }
  for (int i = 0; i < kCount; i += 2) {
    const std::u16string n = u"KEY" + text::FormatInt(i);
    ASSERT_EQ(p.SetString(n.c_str(), nullptr, nullptr), 0);
    ASSERT_EQ(p.SetString(u"ONE", n.c_str(), nullptr), 0);
  }
  for (int i = 0; i < kCount; ++i) {
    const std::u16string n = u"kEy" + text::FormatInt(i);
    const std::u16string expected = i % 2 == 0 ? u"gone" : u"Key" + text::FormatInt(i);
    ASSERT_EQ(p.GetString(n.c_str(), n.c_str(), u"gone"), expected);
    ASSERT_EQ(p.GetString(u"one", n.c_str(), u"gone"), expected);
  }
  EXPECT_EQ(p.Sections().size(), kCount / 2 + 1u);
  EXPECT_EQ(p.FindSection(u"one")->keys.size(), kCount / 2u);
  p.RemoveAll();
  EXPECT_EQ(p.GetString(u"one", u"key1", u"gone"), u"gone");
  EXPECT_EQ(p.SetString(u"one", u"key1", u"back"), 1);
  EXPECT_EQ(Describe(p), "one[key1=back;]");
}

}  // namespace
}  // namespace tavrel::xml
