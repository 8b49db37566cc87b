// The profile store at growing sizes: Load, Save and a lookup, at 2,000 /
// 20,000 / 200,000 sections (three keys each) and at 10 / 1,000 / 100,000
// keys in one section. "per_entry" is the time per section or per key. The
// whole Load beside pugixml also reads the files of ProfileShapes.h.
//
//   bench_profile --write-shapes FOLDER   copies every shape's file there
//   bench_profile --cold ours|pugixml|none FILE
//                                          loads FILE once in this fresh
//                                          process and prints its rusage
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <map>
#include <utility>

#include <pugixml.hpp>

#include "bench/BenchFiles.h"
#include "bench/HostileShapes.h"
#include "bench/PeakMemory.h"
#include "bench/ProfileDocument.h"
#include "bench/ProfileShapes.h"
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

void PerEntry(benchmark::State& state) {
  const auto shape = Shape(state);
  const double entries = static_cast<double>(state.range(1) == 0 ? shape.first : shape.second);
  state.counters["per_entry"] = benchmark::Counter(
      entries, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

long PageFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt + usage.ru_majflt;
}

// Page faults per iteration of the loop since `before`: fresh memory that a
// warm heap does not give back.
void CountFaults(benchmark::State& state, long before) {
  state.counters["faults"] = static_cast<double>(PageFaults() - before) /
                             static_cast<double>(std::max<int64_t>(state.iterations(), 1));
}

// The whole Load: read, parse, build the profile, free it; and the peak heap
// of one more.
// A hostile file need not load whole (`whole` false).
void LoadPath(benchmark::State& state, const std::u16string& path, bool whole = true) {
  const long faults = PageFaults();
  for (auto _ : state) {
    CXmlProfile profile;
    if (profile.Load(path.c_str(), ProfileEncoding::Auto) != 1 && whole) state.SkipWithError("Load failed");
  }
  CountFaults(state, faults);
  ResetPeak();
  const size_t before = Allocations();
  {
    CXmlProfile profile;
    profile.Load(path.c_str(), ProfileEncoding::Auto);
  }
  state.counters["peak_bytes"] = static_cast<double>(PeakBytes());
  state.counters["allocations"] = static_cast<double>(Allocations() - before);
}

// pugixml's load_file of the same file, the document freed too.
void PugixmlPath(benchmark::State& state, const std::filesystem::path& file) {
  CountPugixmlAllocations();
  const std::string path = file.string();
  const long faults = PageFaults();
  for (auto _ : state) {
    pugi::xml_document document;
    if (!document.load_file(path.c_str())) state.SkipWithError("load_file failed");
  }
  CountFaults(state, faults);
  ResetPeak();
  {
    pugi::xml_document document;
    document.load_file(path.c_str());
  }
  state.counters["peak_bytes"] = static_cast<double>(PeakBytes());
}

void Load(benchmark::State& state) {
  LoadPath(state, SavedProfile(Shape(state)));
  PerEntry(state);
}

void PugixmlLoadFile(benchmark::State& state) {
  PugixmlPath(state, SavedProfile(Shape(state)));
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
  // Files made on first use: the UTF-8 copy is pugixml's only.
  for (std::string_view name : kFileShapes) {
    const std::string ours = "File/Load/" + std::string(name);
    const std::string pugixml = "File/PugixmlLoadFile/" + std::string(name);
    const auto load = [name](benchmark::State& state) {
      LoadPath(state, FileShapeOf(name).ours.u16string());
    };
    const auto pugi = [name](benchmark::State& state) { PugixmlPath(state, FileShapeOf(name).pugixml); };
    if (!name.ends_with("-utf8"))
      benchmark::RegisterBenchmark(ours.c_str(), load)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(pugixml.c_str(), pugi)->Unit(benchmark::kMicrosecond);
  }
  // Each hostile file beside its plain one.
  for (std::string_view name : kHostileShapes) {
    for (const bool hostile : {true, false}) {
      const std::string title = "Hostile/Load/" + std::string(name) + (hostile ? "/hostile" : "/plain");
      benchmark::RegisterBenchmark(title.c_str(), [name, hostile](benchmark::State& state) {
        const HostilePair pair = HostileShapeOf(name);
        const std::filesystem::path& file = hostile ? pair.hostile : pair.plain;
        LoadPath(state, file.u16string(), false);
        state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(file));
      })->Unit(benchmark::kMillisecond);
    }
  }
  return 0;
}();

// One load in this fresh process: processor time, page faults and peak RSS.
int Cold(const char* reader, const char* file) {
  rusage before{};
  getrusage(RUSAGE_SELF, &before);
  if (std::strcmp(reader, "ours") == 0) {
    // The host hands a UTF-16 name; the scratch paths are ASCII, widened
    // as they are (pugixml takes the bytes).
    const std::u16string name(file, file + std::strlen(file));
    CXmlProfile profile;
    if (profile.Load(name.c_str(), ProfileEncoding::Auto) != 1) return 1;
  } else if (std::strcmp(reader, "pugixml") == 0) {
    pugi::xml_document document;
    if (!document.load_file(file)) return 1;
  }
  rusage after{};
  getrusage(RUSAGE_SELF, &after);
  const auto seconds = [](const rusage& r) {
    return static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
           static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) * 1e-6;
  };
  std::printf("{\"cpu_s\": %.6f, \"faults\": %ld, \"max_rss_kb\": %ld}\n", seconds(after) - seconds(before),
              after.ru_minflt + after.ru_majflt - before.ru_minflt - before.ru_majflt, after.ru_maxrss);
  return 0;
}

}  // namespace
}  // namespace tavrel::bench

int main(int argc, char** argv) try {
  using namespace tavrel::bench;
  if (argc == 4 && std::strcmp(argv[1], "--cold") == 0) return Cold(argv[2], argv[3]);
  if (argc == 3 && std::strcmp(argv[1], "--write-shapes") == 0) {
    for (const FileShape& shape : AllShapes()) {
      for (const auto& [reader, file] :
           {std::pair("ours", shape.ours), std::pair("pugixml", shape.pugixml)}) {
        if (shape.name.ends_with("-utf8") && reader == std::string_view("ours")) continue;
        const std::filesystem::path copy =
            std::filesystem::path(argv[2]) / (shape.name + "." + reader + ".xml");
        std::filesystem::copy_file(file, copy, std::filesystem::copy_options::overwrite_existing);
        std::printf("%s %s %s\n", shape.name.c_str(), reader, copy.c_str());
      }
    }
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
} catch (const std::exception& e) {
  std::fprintf(stderr, "bench_profile: %s\n", e.what());
  return 1;
}
