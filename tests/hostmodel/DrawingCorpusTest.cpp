// Every drawing of the corpus (tests/drawings, written by its generate.py)
// is read and exported as a well-formed metafile holding all of its shapes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"
#include "tools/emf/EmfCheck.h"
#include "tools/host/emf/EmfExport.h"
#include "tools/host/svg/SvgReader.h"

namespace tavrel::hostmodel {
namespace {

TEST(DrawingCorpus, EveryDrawingExportsAWellFormedMetafile) {
  const std::filesystem::path folder = std::filesystem::path(TAVREL_SOURCE_DIR) / "tests" / "drawings";
  std::vector<std::filesystem::path> drawings;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == ".svg") drawings.push_back(entry.path());
  }
  std::sort(drawings.begin(), drawings.end());
  ASSERT_GE(drawings.size(), 50u);
  testing_support::TempDir dir;
  for (const std::filesystem::path& svg : drawings) {
    const std::string name = svg.filename().string();
    SCOPED_TRACE(name);
    Drawing drawing;
    ASSERT_NO_THROW(drawing = ReadSvg(svg));
    ASSERT_FALSE(drawing.page.shapes.empty());
    std::vector<const Shape*> shapes;
    shapes.reserve(drawing.page.shapes.size());
    for (const Shape& shape : drawing.page.shapes) shapes.push_back(&shape);
    const std::filesystem::path emf = dir.Root() / (name + ".emf");
    ASSERT_NO_THROW(WriteEmf(emf, drawing.page, shapes));
    const emf::EmfReport report = emf::CheckEmfFile(emf);
    ASSERT_TRUE(report.wellFormed) << report.error;
    // At least one drawing record (a figure, or a filled or stroked path) per
    // shape; a filled shape with open outlines strokes them in records of
    // their own, outside the filled path.
    EXPECT_GE(report.drawingRecords, drawing.page.shapes.size());
  }
}

}  // namespace
}  // namespace tavrel::hostmodel
