// Natively libuemf checks each record's inner layout on top of the reader's
// own checks; these faults only it catches.
#include <gtest/gtest.h>

#include "tests/emf/EmfBuilder.h"
#include "tools/emf/EmfCheck.h"

namespace tavrel::emf {
namespace {

TEST(RecordLayout, FaultsOnlyLibuemfCatchesAreRefused) {
  struct Case {
    const char* name;
    std::uint32_t type;
    std::vector<std::uint32_t> body;
  };
  const Case cases[] = {
      {"ellipse without its box", kEllipse, {}},
      {"rectangle with half a box", kRectangle, {0, 0}},
      {"line-to without its point", kLineTo, {}},
  };
  for (const Case& c : cases) {
    const EmfReport report = CheckEmf(EmfBuilder().Record(c.type, c.body).Eof().Bytes());
    EXPECT_FALSE(report.wellFormed) << c.name;
    EXPECT_NE(report.error.find("libuemf refuses"), std::string::npos) << c.name << ": " << report.error;
  }
  const EmfReport sound = CheckEmf(EmfBuilder().Record(kEllipse, {0, 0, 5, 5}).Eof().Bytes());
  EXPECT_TRUE(sound.wellFormed) << sound.error;
}

}  // namespace
}  // namespace tavrel::emf
