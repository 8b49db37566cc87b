// The stand-in's listing of the application table, which the scripts and the
// read-me are made from: every row, in index order, as the table holds it.
#include "tools/embroidery/Applications.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "export/EmbAppTable.h"
#include "platform/Text.h"

namespace tavrel::embroidery_standin {
namespace {

TEST(ApplicationsJson, ListsEveryRowOfTheTableInIndexOrder) {
  const nlohmann::json list = nlohmann::json::parse(ApplicationsJson());
  ASSERT_TRUE(list.is_array());
  ASSERT_EQ(list.size(), static_cast<size_t>(exporting::kAppCount));
  for (int32_t index = 1; index <= exporting::kAppCount; ++index) {
    const nlohmann::json& row = list[static_cast<size_t>(index - 1)];
    const exporting::EmbAppInfo& app = *exporting::AppInfo(index);
    EXPECT_EQ(row.at("index").get<int32_t>(), index);
    EXPECT_EQ(row.at("registryKey").get<std::string>(), app.registryKey) << index;
    EXPECT_EQ(text::FromUtf8(row.at("executable").get<std::string>()), app.exeName) << index;
    EXPECT_EQ(text::FromUtf8(row.at("displayName").get<std::string>()), app.displayName) << index;
  }
}

}  // namespace
}  // namespace tavrel::embroidery_standin
