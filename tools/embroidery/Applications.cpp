#include "tools/embroidery/Applications.h"

#include <nlohmann/json.hpp>

#include "export/EmbAppTable.h"
#include "platform/Text.h"

namespace tavrel::embroidery_standin {

std::string ApplicationsJson() {
  nlohmann::json list = nlohmann::json::array();
  for (int32_t index = 1; index <= exporting::kAppCount; ++index) {
    const exporting::EmbAppInfo& app = *exporting::AppInfo(index);
    const nlohmann::json row = {
        {"index", app.index},
        {"registryKey", std::string(app.registryKey)},
        {"executable", text::ToUtf8(app.exeName)},
        {"displayName", text::ToUtf8(app.displayName)},
    };
    list.push_back(row);
  }
  return list.dump(1);
}

}  // namespace tavrel::embroidery_standin
