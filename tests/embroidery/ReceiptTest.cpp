// The embroidery stand-in's judgement of how it was started.
#include "tools/embroidery/Receipt.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/support/TempDir.h"

namespace tavrel::embroidery_standin {
namespace {

using testing_support::TempDir;

void PutU32(std::string* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// Header and end record only.
std::string EmptyEmf() {
  std::string out;
  for (uint32_t v : {1u,       88u,  0u, 0u, 9u, 9u, 0u, 0u,    100u,  100u, 0x464D4520u,
                     0x10000u, 108u, 2u, 1u, 0u, 0u, 0u, 1000u, 1000u, 100u, 100u})
    PutU32(&out, v);
  for (uint32_t v : {14u, 20u, 0u, 16u, 20u}) PutU32(&out, v);
  return out;
}

TEST(Receipt, TellsWhatItGotAndWhatTheFileHolds) {
  TempDir dir;
  dir.Write(u"good.emf", EmptyEmf());
  std::string bad = EmptyEmf();
  bad[40] = 'X';  // the signature
  dir.Write(u"bad.emf", bad);
  const std::string good = dir.Native(u"good.emf").string();
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    int exitCode;
    std::vector<std::string> switches;
  };
  const Case cases[] = {
      {"well formed with switches", {"Orin.exe", good, "-opt", "-wizard", "-other"}, 0, {"-opt", "-wizard"}},
      {"malformed", {"Orin.exe", dir.Native(u"bad.emf").string(), "-direct"}, 1, {"-direct"}},
      {"missing", {"Orin.exe", dir.Native(u"none.emf").string()}, 1, {}},
      {"no file", {"Orin.exe", "-opt"}, 2, {"-opt"}},
  };
  for (const Case& c : cases) {
    const Outcome outcome = Examine(Invocation{std::nullopt, c.arguments, "/where/it/ran"});
    const auto receipt = nlohmann::json::parse(outcome.receipt);
    EXPECT_EQ(outcome.exitCode, c.exitCode) << c.name;
    EXPECT_EQ(receipt["wellFormed"].get<bool>(), c.exitCode == 0) << c.name;
    EXPECT_EQ(receipt["arguments"].get<std::vector<std::string>>(), c.arguments) << c.name;
    EXPECT_EQ(receipt["currentFolder"], "/where/it/ran") << c.name;
    EXPECT_EQ(receipt["switches"].get<std::vector<std::string>>(), c.switches) << c.name;
    EXPECT_EQ(receipt.contains("error"), c.exitCode != 0) << c.name;
  }
  const auto receipt =
      nlohmann::json::parse(Examine(Invocation{std::nullopt, {"Orin.exe", good}, {}}).receipt);
  EXPECT_EQ(receipt["emf"]["size"].get<uint64_t>(), 108u);
  EXPECT_EQ(receipt["emf"]["records"].get<uint32_t>(), 2u);
  EXPECT_EQ(receipt["emf"]["bounds"], nlohmann::json({0, 0, 9, 9}));
}

}  // namespace
}  // namespace tavrel::embroidery_standin
