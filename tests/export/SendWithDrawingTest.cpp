// The send command against the stand-in host with a real SVG drawing: the
// embroidery stand-in receives a well-formed metafile holding exactly the
// shapes exported.
#include <gtest/gtest.h>

#include "export/SendToEmbroidery.h"
#include "settings/PluginSettings.h"
#include "tests/export/SendFixture.h"
#include "tools/emf/EmfCheck.h"
#include "tools/host/model/HostModel.h"

namespace tavrel::testing_support {
namespace {

class SendWithDrawingTest : public SendFixture {
 protected:
  // Sends with the given selection and returns the drawing records of the
  // metafile the embroidery stand-in received.
  uint32_t SendSelecting(const std::vector<std::size_t>& selection) {
    model_.SelectByIndex(selection);
    Send(model_);
    EXPECT_TRUE(boxes_.Boxes().empty());
    const auto receipt = Receipt();
    EXPECT_TRUE(receipt.has_value());
    if (!receipt) return 0;
    EXPECT_TRUE((*receipt)["wellFormed"].get<bool>());
    const emf::EmfReport emf = emf::CheckEmfFile(dir_.Native(u"Orin 3\\Images\\host_export.emf"));
    EXPECT_TRUE(emf.wellFormed) << emf.error;
    EXPECT_EQ((*receipt)["emf"]["records"].get<uint32_t>(), emf.recordCount);
    return emf.drawingRecords;
  }

  hostmodel::HostModel model_{hostmodel::HostOptions{}};
};

TEST_F(SendWithDrawingTest, ExportsThePageOrExactlyTheSelectedShapes) {
  Install(1, u"Orin 3");
  settings::PluginSettings.EmbAppType = 1;
  model_.OpenDrawing(TAVREL_SOURCE_DIR "/tools/host/samples/flower.svg");
  const std::size_t count = model_.ActiveDrawing()->page.shapes.size();
  ASSERT_GE(count, 2u);
  std::vector<std::size_t> rest;
  for (std::size_t i = 1; i < count; ++i) rest.push_back(i);

  const uint32_t page = SendSelecting({});
  const uint32_t first = SendSelecting({0});
  const uint32_t others = SendSelecting(rest);
  EXPECT_GT(first, 0u);
  EXPECT_GT(others, 0u);
  EXPECT_EQ(first + others, page);
  EXPECT_EQ(model_.CallCount("Document.ExportToFile"), 3);
}

TEST_F(SendWithDrawingTest, MissingImagesFolderGivesTheHostsError) {
  const std::u16string folder = Install(2, u"Kyro", u"", false, true);
  settings::PluginSettings.EmbAppType = 2;
  model_.OpenDrawing(TAVREL_SOURCE_DIR "/tools/host/samples/flower.svg");
  Send(model_);
  const CapturedBox box = OnlyBox();
  EXPECT_EQ(box.text,
            u"Cannot export to " + folder + u"\\Images\\host_export.emf: the folder does not exist.");
  EXPECT_EQ(box.caption, kCaption);
  EXPECT_EQ(box.flags, kErrorFlags);
  EXPECT_FALSE(std::filesystem::exists(dir_.Native(u"Kyro\\Images"))) << "the plug-in creates no folder";
}

}  // namespace
}  // namespace tavrel::testing_support
