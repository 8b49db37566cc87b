// The generated profile documents (1 and 10 MB) through our reader and
// through pugixml, tinyxml2, expat and libxml2; then reading every key's
// name and value from a parsed tree. Throughput counts the document's UTF-8
// size for every reader, whatever text it was given.
#include <benchmark/benchmark.h>
#include <expat.h>
#include <libxml/parser.h>
#include <tinyxml2.h>

#include <cstring>
#include <pugixml.hpp>
#include <vector>

#include "bench/BenchFiles.h"
#include "bench/PeakMemory.h"
#include "xml/XmlParser.h"

namespace tavrel::bench {
namespace {

using xml::CXmlElement;
using xml::CXmlParser;
using xml::ProfileEncoding;

const Document& Doc(const benchmark::State& state) {
  return DocumentOfSize(static_cast<size_t>(state.range(0)));
}

void Finish(benchmark::State& state, size_t peakBytes) {
  const Document& d = Doc(state);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * d.utf8.size()));
  state.counters["peak_mb"] = static_cast<double>(peakBytes) / 1e6;
}

void OursText(benchmark::State& state) {
  const Document& d = Doc(state);
  size_t peak = 0;
  for (auto _ : state) {
    ResetPeak();
    CXmlParser parser;
    parser.Parse(d.utf16);
    benchmark::DoNotOptimize(parser.GetRoot()->ChildCount());
    peak = PeakBytes();
  }
  Finish(state, peak);
}

void OursLoadFile(benchmark::State& state, ProfileEncoding mode) {
  const Document& d = Doc(state);
  const std::filesystem::path& file = mode == ProfileEncoding::Ansi ? d.ansiFile : d.utf16File;
  const std::u16string path = file.u16string();
  for (auto _ : state) {
    CXmlParser parser;
    if (parser.LoadFile(path, mode) != 1) state.SkipWithError("LoadFile failed");
    benchmark::DoNotOptimize(parser.GetRoot()->ChildCount());
  }
  Finish(state, 0);
}
void OursLoadFileAuto(benchmark::State& state) { OursLoadFile(state, ProfileEncoding::Auto); }
void OursLoadFileAnsi(benchmark::State& state) { OursLoadFile(state, ProfileEncoding::Ansi); }
void OursLoadFileUtf16(benchmark::State& state) { OursLoadFile(state, ProfileEncoding::Utf16); }

void PugixmlUtf8InPlace(benchmark::State& state) {
  const Document& d = Doc(state);
  std::vector<char> buffer(d.utf8.size());
  size_t peak = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::memcpy(buffer.data(), d.utf8.data(), buffer.size());
    state.ResumeTiming();
    ResetPeak();
    pugi::xml_document doc;
    if (!doc.load_buffer_inplace(buffer.data(), buffer.size())) state.SkipWithError("pugixml failed");
    benchmark::DoNotOptimize(doc.first_child());
    peak = PeakBytes() + buffer.size();  // the document it parses in place
  }
  Finish(state, peak);
}

void PugixmlUtf16(benchmark::State& state) {
  const Document& d = Doc(state);
  for (auto _ : state) {
    pugi::xml_document doc;
    if (!doc.load_buffer(d.utf16.data(), d.utf16.size() * 2, pugi::parse_default, pugi::encoding_utf16_le)) {
      state.SkipWithError("pugixml failed");
    }
    benchmark::DoNotOptimize(doc.first_child());
  }
  Finish(state, 0);
}

void PugixmlLoadFile(benchmark::State& state) {
  const Document& d = Doc(state);
  for (auto _ : state) {
    pugi::xml_document doc;
    if (!doc.load_file(d.utf8File.c_str())) state.SkipWithError("pugixml failed");
    benchmark::DoNotOptimize(doc.first_child());
  }
  Finish(state, 0);
}

void Tinyxml2(benchmark::State& state) {
  const Document& d = Doc(state);
  for (auto _ : state) {
    tinyxml2::XMLDocument doc;
    if (doc.Parse(d.utf8.data(), d.utf8.size()) != tinyxml2::XML_SUCCESS)
      state.SkipWithError("tinyxml2 failed");
    benchmark::DoNotOptimize(doc.FirstChild());
  }
  Finish(state, 0);
}

void XMLCALL CountElement(void* data, const XML_Char*, const XML_Char**) { ++*static_cast<size_t*>(data); }

void Expat(benchmark::State& state) {
  const Document& d = Doc(state);
  for (auto _ : state) {
    size_t elements = 0;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &elements);
    XML_SetStartElementHandler(parser, CountElement);
    if (XML_Parse(parser, d.utf8.data(), static_cast<int>(d.utf8.size()), 1) != XML_STATUS_OK) {
      state.SkipWithError("expat failed");
    }
    XML_ParserFree(parser);
    benchmark::DoNotOptimize(elements);
  }
  Finish(state, 0);
}

void Libxml2(benchmark::State& state) {
  const Document& d = Doc(state);
  for (auto _ : state) {
    xmlDocPtr doc = xmlReadMemory(d.utf8.data(), static_cast<int>(d.utf8.size()), "profile.xml", nullptr,
                                  XML_PARSE_NONET | XML_PARSE_HUGE);
    if (doc == nullptr) state.SkipWithError("libxml2 failed");
    xmlFreeDoc(doc);
  }
  Finish(state, 0);
}

void ExtractOurs(benchmark::State& state) {
  const Document& d = Doc(state);
  CXmlParser parser;
  parser.Parse(d.utf16);
  for (auto _ : state) {
    size_t total = 0;
    CXmlElement* root = parser.GetRoot();
    for (CXmlElement* s = parser.GetFirstChild(root); s != nullptr; s = parser.GetNextChild(root)) {
      for (CXmlElement* k = parser.GetFirstChild(s); k != nullptr; k = parser.GetNextChild(s)) {
        total += k->GetAttribute(u"name").size() + k->GetAttribute(u"value").size();
      }
    }
    benchmark::DoNotOptimize(total);
  }
  Finish(state, 0);
}

void ExtractPugixml(benchmark::State& state) {
  const Document& d = Doc(state);
  pugi::xml_document doc;
  doc.load_buffer(d.utf8.data(), d.utf8.size());
  for (auto _ : state) {
    size_t total = 0;
    for (pugi::xml_node s : doc.document_element().children()) {
      for (pugi::xml_node k : s.children()) {
        total += std::strlen(k.attribute("name").value()) + std::strlen(k.attribute("value").value());
      }
    }
    benchmark::DoNotOptimize(total);
  }
  Finish(state, 0);
}

const int registered = [] {
  CountPugixmlAllocations();
  xmlInitParser();
  const std::pair<const char*, void (*)(benchmark::State&)> parses[] = {
      {"Parse/ours_text", OursText},
      {"Parse/ours_loadfile_auto", OursLoadFileAuto},
      {"Parse/ours_loadfile_ansi", OursLoadFileAnsi},
      {"Parse/ours_loadfile_utf16", OursLoadFileUtf16},
      {"Parse/pugixml_utf8_inplace", PugixmlUtf8InPlace},
      {"Parse/pugixml_utf16", PugixmlUtf16},
      {"Parse/pugixml_load_file", PugixmlLoadFile},
      {"Parse/tinyxml2", Tinyxml2},
      {"Parse/expat", Expat},
      {"Parse/libxml2", Libxml2},
      {"Extract/ours", ExtractOurs},
      {"Extract/pugixml", ExtractPugixml},
  };
  for (const auto& [name, function] : parses) {
    benchmark::RegisterBenchmark(name, function)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
  }
  return 0;
}();

}  // namespace
}  // namespace tavrel::bench

BENCHMARK_MAIN();
