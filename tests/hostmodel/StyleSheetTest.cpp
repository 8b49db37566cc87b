// Style sheets of <style> elements: which rule gives a shape its paint, by
// selector, specificity and order, against presentation attributes and the
// style attribute.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TempDir.h"
#include "tools/host/svg/SvgReader.h"

namespace tavrel::hostmodel {
namespace {

constexpr Color kGreen{0, 128, 0}, kBlue{0, 0, 255}, kBlack{0, 0, 0};

struct Case {
  const char* name;
  const char* sheet;  // the <style> element(s)
  const char* body;   // the drawing's content; its first shape is checked
  Color fill;
};

// Every case's first shape should come out with `fill`.
const Case kCases[] = {
    {"type selector", "<style>rect { fill: green }</style>", "<rect width='1' height='1'/>", kGreen},
    {"universal selector", "<style>* { fill: green }</style>", "<rect width='1' height='1'/>", kGreen},
    {"class selector", "<style>.a { fill: green }</style>", "<rect class='a' width='1' height='1'/>", kGreen},
    {"one of several classes", "<style>.b { fill: green }</style>",
     "<rect class=' a  b\tc' width='1' height='1'/>", kGreen},
    {"all classes of a compound", "<style>.a.b { fill: red } .a { fill: green }</style>",
     "<rect class='a c' width='1' height='1'/>", kGreen},
    {"id selector", "<style>#s { fill: green }</style>", "<rect id='s' width='1' height='1'/>", kGreen},
    {"type and class", "<style>circle.a { fill: red } rect.a { fill: green }</style>",
     "<rect class='a' width='1' height='1'/>", kGreen},
    {"descendant", "<style>g.outer rect { fill: green }</style>",
     "<g class='outer'><g><rect width='1' height='1'/></g></g>", kGreen},
    {"descendant not matched", "<style>g.outer rect { fill: red }</style>",
     "<g class='inner'><rect width='1' height='1' fill='green'/></g>", kGreen},
    {"child", "<style>g > rect { fill: red } svg > g > rect { fill: green }</style>",
     "<g><rect width='1' height='1'/></g>", kGreen},
    {"child only of its parent", "<style>svg > rect { fill: red }</style>",
     "<g><rect width='1' height='1' fill='green'/></g>", kGreen},
    {"selector list", "<style>circle, .x, rect { fill: green }</style>", "<rect width='1' height='1'/>",
     kGreen},
    // Specificity, then order.
    {"id beats class", "<style>#s { fill: green } .a { fill: red }</style>",
     "<rect id='s' class='a' width='1' height='1'/>", kGreen},
    {"class beats type", "<style>.a { fill: green } rect { fill: red }</style>",
     "<rect class='a' width='1' height='1'/>", kGreen},
    {"two classes beat one", "<style>.a.b { fill: green } .a { fill: red }</style>",
     "<rect class='a b' width='1' height='1'/>", kGreen},
    {"later rule wins at equal specificity", "<style>.a { fill: red } .b { fill: green }</style>",
     "<rect class='a b' width='1' height='1'/>", kGreen},
    {"later sheet wins", "<style>.a { fill: red }</style><style>.a { fill: green }</style>",
     "<rect class='a' width='1' height='1'/>", kGreen},
    {"last declaration of a rule wins", "<style>.a { fill: red; fill: green }</style>",
     "<rect class='a' width='1' height='1'/>", kGreen},
    // Against the element's own styling.
    {"rule beats presentation attribute", "<style>.a { fill: green }</style>",
     "<rect class='a' fill='red' width='1' height='1'/>", kGreen},
    {"style attribute beats every rule", "<style>#s.a { fill: red }</style>",
     "<rect id='s' class='a' style='fill: green' width='1' height='1'/>", kGreen},
    {"inherited from a styled group", "<style>.g { fill: green }</style>",
     "<g class='g'><rect width='1' height='1'/></g>", kGreen},
    {"currentColor from a rule's color", "<style>.c { color: blue }</style>",
     "<rect class='c' fill='currentColor' width='1' height='1'/>", kBlue},
    // What the sheet holds around its rules.
    {"CDATA section", "<style type='text/css'><![CDATA[ g rect { fill: green } ]]></style>",
     "<g><rect width='1' height='1'/></g>", kGreen},
    {"comments and at-rules",
     "<style>/* .a { fill: red } */ @import url(x.css); @media print { .a { fill: red } } "
     ".a { fill: green }</style>",
     "<rect class='a' width='1' height='1'/>", kGreen},
    {"another type of sheet", "<style type='text/other'>.a { fill: red }</style>",
     "<rect class='a' width='1' height='1'/>", kBlack},
    {"unknown selector drops the whole rule", "<style>.a, rect:hover { fill: red }</style>",
     "<rect class='a' width='1' height='1'/>", kBlack},
    {"sheet after the shapes", "", "<rect class='a' width='1' height='1'/><style>.a { fill: green }</style>",
     kGreen},
    {"stop colour from a rule", "<style>.s { stop-color: #00f }</style>",
     "<defs><linearGradient id='g'><stop class='s'/></linearGradient></defs>"
     "<rect fill='url(#g)' width='1' height='1'/>",
     kBlue},
    {"rule reaches a used shape by its own place", "<style>defs .a { fill: green }</style>",
     "<defs><rect id='r' class='a' width='1' height='1'/></defs><use href='#r'/>", kGreen},
};

TEST(StyleSheet, RulesGiveShapesTheirPaintInCascadeOrder) {
  testing_support::TempDir dir;
  for (const Case& c : kCases) {
    dir.Write(u"drawing.svg", std::string("<svg xmlns='http://www.w3.org/2000/svg' width='9' height='9'>") +
                                  c.sheet + c.body + "</svg>");
    const Drawing drawing = ReadSvg(dir.Root() / "drawing.svg");
    ASSERT_FALSE(drawing.page.shapes.empty()) << c.name;
    const std::optional<Color> fill = drawing.page.shapes.front().fill;
    ASSERT_TRUE(fill.has_value()) << c.name;
    EXPECT_EQ(*fill, c.fill) << c.name << ": got " << int(fill->red) << "," << int(fill->green) << ","
                             << int(fill->blue);
  }
}

TEST(StyleSheet, WhatTheSheetCannotApplyIsNamed) {
  testing_support::TempDir dir;
  dir.Write(u"drawing.svg",
            "<svg width='9' height='9'><style type='text/sass'>a</style><style>rect + rect { fill: red }"
            "</style><rect width='1' height='1'/></svg>");
  const Drawing drawing = ReadSvg(dir.Root() / "drawing.svg");
  EXPECT_EQ(drawing.skipped,
            (std::vector<std::string>{
                "style sheet rules with selectors beyond type, class, id, descendant and child (ignored)",
                "style sheets of type text/sass"}));
}

}  // namespace
}  // namespace tavrel::hostmodel
