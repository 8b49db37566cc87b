#include "tests/support/ProcessCapture.h"

#include "platform/Text.h"

namespace tavrel::testing_support {

struct ProcessCapture::Impl {};

ProcessCapture::ProcessCapture() : impl_(std::make_unique<Impl>()) {}

ProcessCapture::~ProcessCapture() = default;

std::u16string ProcessCapture::CommandLine(const nlohmann::json& receipt) const {
  const auto& line = receipt["commandLine"];
  return line.is_string() ? text::FromUtf8(line.get<std::string>()) : std::u16string();
}

}  // namespace tavrel::testing_support
