#include "tools/embroidery/Install.h"

#include <stdexcept>

#include "export/EmbAppTable.h"
#include "platform/Text.h"

namespace tavrel::embroidery_standin {

namespace {

const exporting::EmbAppInfo& App(int index) {
  const exporting::EmbAppInfo* app = exporting::AppInfo(index);
  if (app == nullptr) throw std::out_of_range("no embroidery application " + std::to_string(index));
  return *app;
}

}  // namespace

std::filesystem::path ApplicationFolderName(int index) {
  return std::filesystem::path(std::u16string(App(index).displayName));
}

std::u16string ApplicationKey(int index) { return text::FromAscii(App(index).registryKey); }

void LayOutApplication(int index, const std::filesystem::path& folder, const std::filesystem::path& program,
                       Layout layout) {
  const exporting::EmbAppInfo& app = App(index);
  std::filesystem::create_directories(folder);
  if (layout.images) std::filesystem::create_directories(folder / "Images");
  if (layout.program)
    std::filesystem::copy_file(program, folder / std::filesystem::path(std::u16string(app.exeName)),
                               std::filesystem::copy_options::overwrite_existing);
}

}  // namespace tavrel::embroidery_standin
