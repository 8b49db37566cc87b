#include <gtest/gtest.h>

#include "platform/Text.h"

#include "tests/xml/TreeText.h"
#include "xml/XmlParser.h"

namespace tavrel::xml {
namespace {

using testing::TreeText;

struct TreeCase {
  std::u16string_view document;
  std::string tree;  // name[attributes]{text}(children)
};

// Every document gives a tree, however malformed; each expectation follows
// from the scanning rules (an end tag ends the current element whatever its
// name, the first start tag names the root, later top-level tags become its
// children, text is the last run before a "<").
TEST(XmlParser, MalformedDocumentsGiveExactTrees) {
  const TreeCase cases[] = {
      {u"", ""},
      {u"no markup at all", ""},
      {u"<r><a>x<b/>y</a></r>", "r(a{y}(b))"},
      {u"<profile/>", "profile"},
      {u"<r></section><a/></r>", "r(a)"},
      {u"<r>< key name=\"a\"/></r>", "r([key name=\"a\"])"},
      // The comment ends at its first ">"; the rest is text and a stray ">".
      {u"<r><c/><!-- a > b --></r>", "r(c {b --})"},
      {u"<r a=\"x\ty\r\nz\">", "r[a=\"x y  z\"]"},
      {u"<r><a name=\"x", "r"},
      {u"<r><a name=\"x/></r>", "r(a[name=\"x])"},
      {u"<r/>tail", "r"},
      {u"<r>a>b</r>", "r({ab})"},  // a stray ">" is an unnamed start tag
      {u"<r>a<b</r>", "r"},        // a stray "<" swallows the next tag
      {u"<!DOCTYPE x><r/>", "r"},
      {u"<![CDATA[<a>]]><r/>", "r{]]}"},
      {u"<a/><b/>", "a(b)"},
      {u"<a></a><b></b>", "a(b)"},
      {u"< profile  x=\"1\" >", "profile[x=\"1\"]"},
      {u"<><r/>", "r"},
      {u"<r><a/b x=\"1\"></a></r>", "r(a/b[x=\"1\"])"},
      {u"<r><a><b>", "r(a(b))"},
      {u"<r><a/></r></r></x><c/>", "r(a c)"},
      {u"<r>  <a>  hi there  </a></r>", "r(a{hi there})"},
      {u"<r>one<a/>two</r>", "r{two}(a)"},
      {u"<r><a x=\"1\"/ ></r>", "r(a[x=\"1\"/])"},  // "/" not before ">" stays: a start tag
      {u"<r><a  x=\"1\"/></r>", "r(a[x=\"1\"])"},
      {u"<r>\u00e9\u20ac<k n=\"\u00fc\"/>\U0001F600</r>", "r{\U0001F600}(k[n=\"\u00fc\"])"},
  };
  for (const TreeCase& c : cases) {
    CXmlParser parser;
    EXPECT_EQ(parser.Parse(c.document), 1);
    EXPECT_EQ(TreeText(*parser.GetRoot()), c.tree) << text::ToUtf8(c.document);
  }
}

TEST(XmlParser, TextAfterDeclarationIsNotATag) {
  CXmlParser parser;
  parser.Parse(u"<?xml version=\"1.0\"?>hello<profile/>");
  EXPECT_EQ(TreeText(*parser.GetRoot()), "profile{hello}");
  parser.Parse(u"<!-- note -->profile x<key/>");
  EXPECT_EQ(TreeText(*parser.GetRoot()), "key{profile x}");
}

struct TagCase {
  std::u16string_view tag;
  TagType kind;
  std::u16string_view inner;
};

TEST(XmlParser, GetTagType) {
  const TagCase cases[] = {
      {u"", TagType::Skip, u""},
      {u"<a>", TagType::Open, u"a"},
      {u"<a b=\"c\">", TagType::Open, u"a b=\"c\""},
      {u"</a>", TagType::Close, u"a"},
      {u"<a/>", TagType::Empty, u"a"},
      {u"<?xml version=\"1.0\"?>", TagType::Skip, u""},
      {u"<!-- x -->", TagType::Skip, u""},
      {u"<a / >", TagType::Open, u"a / "},
      {u"<a b='/'/>", TagType::Empty, u"a b='/'"},
      {u">", TagType::Open, u""},
      {u"</>", TagType::Empty, u""},
      {u"<a<b>", TagType::Open, u"ab"},
  };
  for (const TagCase& c : cases) {
    std::u16string inner = u"stale";
    EXPECT_EQ(CXmlParser::GetTagType(c.tag, inner), c.kind) << text::ToUtf8(c.tag);
    EXPECT_EQ(inner, c.inner) << text::ToUtf8(c.tag);
  }
}

TEST(XmlParser, ParseReplacesTheTreeAndResetEmptiesIt) {
  CXmlParser parser;
  parser.Parse(u"<r x=\"1\">t<a/></r>");
  CXmlElement* root = parser.GetRoot();
  ASSERT_NE(parser.GetFirstChild(root), nullptr);
  parser.Parse(u"<s><b/><c/></s>");
  EXPECT_EQ(TreeText(*root), "s(b c)");
  EXPECT_EQ(parser.GetNextChild(root), nullptr);  // the cursor went with the old tree
  parser.Reset();
  EXPECT_EQ(TreeText(*root), "");
  EXPECT_EQ(root->Parent(), nullptr);
  parser.Parse(u"<t><d/></t>");  // the root is current again after Reset
  EXPECT_EQ(TreeText(*root), "t(d)");
}

TEST(XmlParser, ParsingItsOwnDocumentAgain) {
  CXmlParser parser;
  parser.Parse(u"<r>\t<a x=\"1\"/>text</r>");
  parser.Parse(parser.Document());
  EXPECT_EQ(TreeText(*parser.GetRoot()), "r{text}(a[x=\"1\"])");
  parser.Parse(std::u16string_view(parser.Document()).substr(4));
  EXPECT_EQ(TreeText(*parser.GetRoot()), "a[x=\"1\"]{text}");
}

TEST(XmlParser, DeepNestingDestroysWithoutRecursion) {
  constexpr size_t kLevels = 1'000'000;
  std::u16string doc;
  doc.reserve(kLevels * 3);
  for (size_t i = 0; i < kLevels; ++i) doc += u"<a>";
  {
    CXmlParser parser;
    parser.Parse(doc);
    size_t depth = 0;
    for (CXmlElement* e = parser.GetFirstChild(parser.GetRoot()); e != nullptr; e = parser.GetFirstChild(e)) {
      ++depth;
    }
    EXPECT_EQ(depth, kLevels - 1);  // the first tag names the root
    parser.Reset();
    EXPECT_EQ(parser.GetRoot()->ChildCount(), 0u);
    parser.Parse(doc);
  }  // destroyed with a million levels in place
  SUCCEED();
}

}  // namespace
}  // namespace tavrel::xml
