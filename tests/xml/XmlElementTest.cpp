#include <gtest/gtest.h>

#include "platform/Text.h"

#include "xml/XmlParser.h"

namespace tavrel::xml {
namespace {

// The first child of a parsed `<r><key ATTRIBUTES/></r>` document.
struct AttributeCase {
  std::u16string_view attributes;
  std::u16string_view name;
  std::u16string_view value;
};

// The attribute `name` of the first element below the root of `document`.
std::u16string AttributeOfChild(const std::u16string& document, std::u16string_view name) {
  CXmlParser parser;
  parser.Parse(document);
  CXmlElement* element = parser.GetFirstChild(parser.GetRoot());
  return element == nullptr ? u"<no element>" : element->GetAttribute(name);
}

TEST(XmlElement, GetAttribute) {
  const AttributeCase cases[] = {
      {uR"(name="a" value="b")", u"value", u"b"},
      {uR"(name="a" value="b")", u"name", u"a"},
      {uR"(name="a")", u"value", u""},
      {uR"(value = "b")", u"value", u""},  // no spaces around "="
      {uR"(name='x')", u"name", u"x'"},    // the apostrophe is taken as delimiter
      {uR"(name="unterminated)", u"name", u"unterminated"},
      {uR"(name="a&amp;lt;b")", u"name", u"a&lt;b"},
      {uR"(name="&#65;")", u"name", u"&#65;"},
      {uR"(name=)", u"name", u""},
      {uR"(name=")", u"name", u""},
      {uR"(name="")", u"name", u""},
      {uR"(Name="a")", u"name", u""},  // case-sensitive
      {uR"(name="a" name="b")", u"name", u"a"},
      {uR"(name=x value="y")", u"name", u" value="},  // "x" taken as the delimiter
      {uR"(name=x value="y")", u"value", u"y"},
  };
  for (const AttributeCase& c : cases) {
    EXPECT_EQ(AttributeOfChild(u"<r><key " + std::u16string(c.attributes) + u"/></r>", c.name), c.value)
        << testing::PrintToString(std::u16string(c.attributes)) << " "
        << testing::PrintToString(std::u16string(c.name));
  }
}

TEST(XmlElement, AttributeNameInsideValueIsNotMatched) {
  const AttributeCase cases[] = {
      {uR"(filename="x" name="y")", u"name", u"y"},  // a longer name ending in the searched one
      {uR"(name="k" value="x readonly=1")", u"readonly", u""},
      {uR"(value="name=z" name="n")", u"name", u"n"},
      {uR"(value="a name=" name="n")", u"name", u"n"},
      {uR"(x="1"name="2")", u"name", u""},  // must follow white space
  };
  for (const AttributeCase& c : cases) {
    EXPECT_EQ(AttributeOfChild(u"<r><key " + std::u16string(c.attributes) + u"></r>", c.name), c.value)
        << testing::PrintToString(std::u16string(c.attributes));
  }
}

TEST(XmlElement, WalkingChildrenRestartsAndIsPerElement) {
  CXmlParser parser;
  parser.Parse(u"<r><a><x/><y/></a><b/></r>");
  CXmlElement* root = parser.GetRoot();
  EXPECT_EQ(parser.GetNextChild(root), nullptr);  // no cursor yet
  std::u16string names;
  for (CXmlElement* e = parser.GetFirstChild(root); e != nullptr; e = parser.GetNextChild(root)) {
    names += e->Name();
    // A nested walk uses the child's own cursor.
    for (CXmlElement* c = parser.GetFirstChild(e); c != nullptr; c = parser.GetNextChild(e))
      names += c->Name();
  }
  EXPECT_EQ(names, u"axyb");
  EXPECT_EQ(parser.GetNextChild(root), nullptr);  // stays at the end
  ASSERT_NE(parser.GetFirstChild(root), nullptr);
  EXPECT_EQ(parser.GetFirstChild(root)->Name(), u"a");  // a finished walk starts again
  EXPECT_EQ(parser.GetNextChild(root)->Name(), u"b");
  EXPECT_EQ(parser.GetFirstChild(nullptr), nullptr);
  EXPECT_EQ(parser.GetNextChild(nullptr), nullptr);
  CXmlElement* leaf = parser.GetFirstChild(parser.GetFirstChild(root));
  EXPECT_EQ(parser.GetFirstChild(leaf), nullptr);
  EXPECT_EQ(parser.GetNextChild(leaf), nullptr);
  EXPECT_EQ(leaf->Parent()->Name(), u"a");
}

}  // namespace
}  // namespace tavrel::xml
