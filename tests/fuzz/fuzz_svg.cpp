// The stand-in host on arbitrary bytes as a drawing: read, then the whole
// page exported; the metafile must be well formed whenever the export
// succeeds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "tests/fuzz/FuzzFiles.h"
#include "tools/emf/EmfCheck.h"
#include "tools/host/emf/EmfExport.h"
#include "tools/host/model/FilePath.h"
#include "tools/host/svg/SvgReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavrel::hostmodel;
  const std::u16string svg = tavrel::fuzz::WriteScratch("drawing.svg", data, size);
  const std::filesystem::path emf = FileSystemPath(tavrel::fuzz::ScratchPath("drawing.emf"));
  Drawing drawing;
  try {
    drawing = ReadSvg(FileSystemPath(svg));
  } catch (const std::runtime_error&) {
    return 0;  // refused as no drawing
  }
  std::vector<const Shape*> shapes;
  for (const Shape& shape : drawing.page.shapes) shapes.push_back(&shape);
  try {
    WriteEmf(emf, drawing.page, shapes);
  } catch (const DrawingLimitError&) {
    return 0;  // beyond what a metafile holds
  }
  if (!tavrel::emf::CheckEmfFile(emf).wellFormed) std::abort();
  return 0;
}
