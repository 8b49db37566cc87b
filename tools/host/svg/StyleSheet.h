// Style sheets of <style> elements: rules whose selectors are type, "*",
// class, id, descendant and child selectors, cascaded as CSS does between
// rules (specificity, then order). Where rules sit against presentation
// attributes and the style attribute is SvgStyle's business.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/host/svg/ElementTree.h"

namespace tavrel::hostmodel {

class StyleSheet {
 public:
  // Adds the rules of a style sheet's text. A rule with a selector this
  // sheet cannot match (attributes, pseudo-classes, sibling combinators) is
  // left out and noted; at-rules (@media, @import, ...) are left out.
  void Add(std::string_view css, const std::function<void(const std::string&)>& note);

  // The declarations of the rules that match `element`, lowest precedence
  // first, joined by ";"; `parentOf` gives an element's parent (null for
  // the root).
  std::string Declarations(const Element& element,
                           const std::function<const Element*(const Element&)>& parentOf) const;

  bool Empty() const { return rules_.empty(); }

 private:
  struct Compound {
    std::string type;  // empty: any
    std::string id;
    std::vector<std::string> classes;
    bool child = false;  // joined to the compound before it by ">", else by white space
  };
  struct Rule {
    std::vector<Compound> selector;  // leftmost first
    long specificity = 0;
    std::size_t order = 0;
    std::string declarations;
  };

  static std::optional<std::vector<Compound>> ParseSelector(std::string_view text);
  static bool Matches(const std::vector<Compound>& selector, std::size_t last, const Element& element,
                      const std::function<const Element*(const Element&)>& parentOf);

  std::vector<Rule> rules_;
};

}  // namespace tavrel::hostmodel
