// The profile store at growing sizes: Load, Save and a lookup, at 2,000 /
// 20,000 / 200,000 sections (three keys each) and at 10 / 1,000 / 100,000
// keys in one section. "per_entry" is the time per section or per key.
#include <benchmark/benchmark.h>

#include <map>
#include <utility>

#include <pugixml.hpp>

#include "bench/BenchFiles.h"
#include "bench/PeakMemory.h"
#include "bench/ProfileDocument.h"
#include "xml/XmlProfile.h"

namespace tavrel::bench {
namespace {

using xml::CXmlProfile;
using xml::ProfileEncoding;

constexpr size_t kKeysPerSection = 3;

// (sections, keys per section) for a benchmark: wide profiles count
// sections, a single section counts its keys.
std::pair<size_t, size_t> Shape(const benchmark::State& state) {
  const auto n = static_cast<size_t>(state.range(0));
  return state.range(1) == 0 ? std::make_pair(n, kKeysPerSection) : std::make_pair(size_t{1}, n);
}

const std::u16string& SavedProfile(std::pair<size_t, size_t> shape) {
  static std::map<std::pair<size_t, size_t>, std::u16string> files;
  auto found = files.find(shape);
  if (found != files.end()) return found->second;
  CXmlProfile profile;
  FillProfile(profile, shape.first, shape.second);
  const std::u16string path =
      (ScratchFolder() / ("p" + std::to_string(shape.first) + "x" + std::to_string(shape.second) + ".xml"))
          .u16string();
  profile.Save(path.c_str(), ProfileEncoding::Utf16);
  return files[shape] = path;
}

void PerEntry(benchmark::State& state) {
  const auto shape = Shape(state);
  const double entries = static_cast<double>(state.range(1) == 0 ? shape.first : shape.second);
  state.counters["per_entry"] = benchmark::Counter(
      entries, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The whole Load: read, parse, build the profile, free it; and the peak heap
// of one more.
void Load(benchmark::State& state) {
  const std::u16string& path = SavedProfile(Shape(state));
  for (auto _ : state) {
    CXmlProfile profile;
    if (profile.Load(path.c_str(), ProfileEncoding::Auto) != 1) state.SkipWithError("Load failed");
  }
  ResetPeak();
  {
    CXmlProfile profile;
    profile.Load(path.c_str(), ProfileEncoding::Auto);
  }
  state.counters["peak_bytes"] = static_cast<double>(PeakBytes());
  PerEntry(state);
}

// pugixml's load_file of the same UTF-16 file, the document freed too.
void PugixmlLoadFile(benchmark::State& state) {
  CountPugixmlAllocations();
  const std::string path = std::filesystem::path(SavedProfile(Shape(state))).string();
  for (auto _ : state) {
    pugi::xml_document document;
    if (!document.load_file(path.c_str())) state.SkipWithError("load_file failed");
  }
  ResetPeak();
  {
    pugi::xml_document document;
    document.load_file(path.c_str());
  }
  state.counters["peak_bytes"] = static_cast<double>(PeakBytes());
  PerEntry(state);
}

void Save(benchmark::State& state) {
  const auto shape = Shape(state);
  CXmlProfile profile;
  FillProfile(profile, shape.first, shape.second);
  const std::u16string path = (ScratchFolder() / "saved.xml").u16string();
  for (auto _ : state) {
    if (profile.Save(path.c_str(), ProfileEncoding::Utf16) != 1) state.SkipWithError("Save failed");
  }
  PerEntry(state);
}

void Lookup(benchmark::State& state) {
  const auto shape = Shape(state);
  CXmlProfile profile;
  if (profile.Load(SavedProfile(shape).c_str(), ProfileEncoding::Auto) != 1)
    state.SkipWithError("Load failed");
  // Names in another letter case, spread over the whole profile.
  std::vector<std::pair<std::u16string, std::u16string>> names;
  for (size_t i = 0; i < 1024; ++i) {
    const size_t s = (i * 7919) % shape.first;
    const size_t k = (i * 104729) % shape.second;
    std::u16string section = SectionName(s);
    for (char16_t& c : section) c = c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
    names.emplace_back(std::move(section), KeyName(k));
  }
  size_t i = 0;
  for (auto _ : state) {
    const auto& [section, key] = names[i++ & 1023];
    benchmark::DoNotOptimize(profile.GetString(section.c_str(), key.c_str(), nullptr));
  }
}

const int registered = [] {
  for (auto [name, function] :
       {std::make_pair("Profile/Load", Load), std::make_pair("Profile/PugixmlLoadFile", PugixmlLoadFile),
        std::make_pair("Profile/Save", Save), std::make_pair("Profile/Lookup", Lookup)}) {
    benchmark::RegisterBenchmark(name, function)
        ->ArgNames({"entries", "one_section"})
        ->Args({2000, 0})
        ->Args({20000, 0})
        ->Args({200000, 0})
        ->Args({10, 1})
        ->Args({1000, 1})
        ->Args({100000, 1})
        ->Unit(benchmark::kMicrosecond);
  }
  return 0;
}();

}  // namespace
}  // namespace tavrel::bench

BENCHMARK_MAIN();
