#include "tools/host/svg/StyleSheet.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace tavrel::hostmodel {
namespace {

bool Space(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// Letters, digits, "-", "_" and every byte of a non-ASCII character.
bool NameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '_' ||
         static_cast<unsigned char>(c) >= 0x80;
}

std::string WithoutComments(std::string_view css) {
  std::string out;
  out.reserve(css.size());
  for (std::size_t i = 0; i < css.size();) {
    if (css.compare(i, 2, "/*") == 0) {
      const std::size_t end = css.find("*/", i + 2);
      i = end == std::string_view::npos ? css.size() : end + 2;
      out += ' ';
    } else if (css.compare(i, 4, "<!--") == 0) {
      i += 4;
    } else if (css.compare(i, 3, "-->") == 0) {
      i += 3;
    } else {
      out += css[i++];
    }
  }
  return out;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && Space(s.front())) s.remove_prefix(1);
  while (!s.empty() && Space(s.back())) s.remove_suffix(1);
  return s;
}

// The end of the block opened at `open` (the index of its "}" or the end).
std::size_t BlockEnd(std::string_view css, std::size_t open) {
  int depth = 0;
  for (std::size_t i = open; i < css.size(); ++i) {
    if (css[i] == '{') ++depth;
    if (css[i] == '}' && --depth == 0) return i;
  }
  return css.size();
}

}  // namespace

void StyleSheet::Add(std::string_view text, const std::function<void(const std::string&)>& note) {
  const std::string css = WithoutComments(text);
  std::string_view rest = css;
  while (!(rest = Trim(rest)).empty()) {
    const std::size_t open = rest.find('{');
    if (rest.front() == '@') {
      // An at-rule ends at its ";" or with its block.
      const std::size_t semicolon = rest.find(';');
      if (open == std::string_view::npos || (semicolon != std::string_view::npos && semicolon < open)) {
        rest.remove_prefix(semicolon == std::string_view::npos ? rest.size() : semicolon + 1);
      } else {
        rest.remove_prefix((std::min)(rest.size(), BlockEnd(rest, open) + 1));
      }
      continue;
    }
    if (open == std::string_view::npos) break;
    const std::size_t close = BlockEnd(rest, open);
    const std::string_view selectors = rest.substr(0, open);
    const std::string_view block = rest.substr(open + 1, close - open - 1);
    rest.remove_prefix((std::min)(rest.size(), close + 1));

    // A rule with one selector it cannot match is left out whole, as CSS
    // does with a selector list it cannot parse.
    std::vector<Rule> parsed;
    bool understood = true;
    std::string_view list = selectors;
    while (understood) {
      const std::size_t comma = (std::min)(list.find(','), list.size());
      const std::optional<std::vector<Compound>> selector = ParseSelector(Trim(list.substr(0, comma)));
      if (!selector) {
        understood = false;
        break;
      }
      long ids = 0, classes = 0, types = 0;
      for (const Compound& c : *selector) {
        ids += c.id.empty() ? 0 : 1;
        classes += static_cast<long>(c.classes.size());
        types += c.type.empty() ? 0 : 1;
      }
      parsed.push_back({*selector, ids * 1'000'000 + classes * 1'000 + types, 0, std::string(block)});
      if (comma == list.size()) break;
      list.remove_prefix(comma + 1);
    }
    if (!understood) {
      if (note)
        note("style sheet rules with selectors beyond type, class, id, descendant and child (ignored)");
      continue;
    }
    for (Rule& rule : parsed) {
      rule.order = rules_.size();
      rules_.push_back(std::move(rule));
    }
  }
}

std::optional<std::vector<StyleSheet::Compound>> StyleSheet::ParseSelector(std::string_view text) {
  std::vector<Compound> selector;
  bool child = false;
  std::size_t i = 0;
  auto name = [&]() {
    const std::size_t start = i;
    while (i < text.size() && NameChar(text[i])) ++i;
    return std::string(text.substr(start, i - start));
  };
  while (i < text.size()) {
    if (Space(text[i])) {
      ++i;
      continue;
    }
    if (text[i] == '>') {
      if (selector.empty() || child) return std::nullopt;
      child = true;
      ++i;
      continue;
    }
    Compound compound;
    compound.child = child;
    child = false;
    if (text[i] == '*') {
      ++i;
    } else if (NameChar(text[i])) {
      compound.type = name();
    }
    while (i < text.size() && (text[i] == '#' || text[i] == '.')) {
      const char kind = text[i++];
      std::string part = name();
      if (part.empty()) return std::nullopt;
      if (kind == '#') {
        if (!compound.id.empty() && compound.id != part) return std::nullopt;
        compound.id = std::move(part);
      } else {
        compound.classes.push_back(std::move(part));
      }
    }
    if (i < text.size() && !Space(text[i]) && text[i] != '>') return std::nullopt;  // [..], :.., +, ~
    selector.push_back(std::move(compound));
  }
  if (selector.empty() || child) return std::nullopt;
  return selector;
}

bool StyleSheet::Matches(const std::vector<Compound>& selector, std::size_t last, const Element& element,
                         const std::function<const Element*(const Element&)>& parentOf) {
  const Compound& compound = selector[last];
  if (!compound.type.empty() && compound.type != element.name) return false;
  if (!compound.id.empty()) {
    const std::string* id = element.Attribute("id");
    if (id == nullptr || *id != compound.id) return false;
  }
  if (!compound.classes.empty()) {
    const std::string* classAttribute = element.Attribute("class");
    if (classAttribute == nullptr) return false;
    std::vector<std::string_view> names;
    std::string_view rest = *classAttribute;
    while (!(rest = Trim(rest)).empty()) {
      std::size_t end = 0;
      while (end < rest.size() && !Space(rest[end])) ++end;
      names.push_back(rest.substr(0, end));
      rest.remove_prefix(end);
    }
    for (const std::string& wanted : compound.classes) {
      if (std::find(names.begin(), names.end(), wanted) == names.end()) return false;
    }
  }
  if (last == 0) return true;
  for (const Element* ancestor = parentOf(element); ancestor != nullptr; ancestor = parentOf(*ancestor)) {
    if (Matches(selector, last - 1, *ancestor, parentOf)) return true;
    if (compound.child) return false;  // only the parent may match
  }
  return false;
}

std::string StyleSheet::Declarations(const Element& element,
                                     const std::function<const Element*(const Element&)>& parentOf) const {
  std::vector<const Rule*> matched;
  for (const Rule& rule : rules_) {
    if (Matches(rule.selector, rule.selector.size() - 1, element, parentOf)) matched.push_back(&rule);
  }
  std::stable_sort(matched.begin(), matched.end(), [](const Rule* a, const Rule* b) {
    return a->specificity != b->specificity ? a->specificity < b->specificity : a->order < b->order;
  });
  std::string declarations;
  for (const Rule* rule : matched) {
    declarations += rule->declarations;
    declarations += ';';
  }
  return declarations;
}

}  // namespace tavrel::hostmodel
