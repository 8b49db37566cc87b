// Builds small enhanced metafiles for the reader's tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/emf/EmfCheck.h"

namespace tavrel::emf {

// Builds a small metafile record by record; the header's counts are filled
// in by Bytes() from what was added.
class EmfBuilder {
 public:
  EmfBuilder() {
    Word(kHeader);
    Word(88);
    for (std::int32_t v : {0, 0, 99, 49}) Word(static_cast<std::uint32_t>(v));      // bounds
    for (std::int32_t v : {0, 0, 2645, 1322}) Word(static_cast<std::uint32_t>(v));  // frame
    Word(0x464D4520);
    Word(0x10000);
    Word(0);  // bytes
    Word(0);  // records
    Word(1);  // handles, reserved
    for (int i = 0; i < 7; ++i) Word(i < 3 ? 0 : 1000);
    records_ = 1;
  }
  EmfBuilder& Record(std::uint32_t type, const std::vector<std::uint32_t>& body) {
    Word(type);
    Word(static_cast<std::uint32_t>(8 + 4 * body.size()));
    for (std::uint32_t w : body) Word(w);
    ++records_;
    return *this;
  }
  // A record of the single point-list form (POLYGON, POLYLINE16, ...) with
  // `points` points.
  EmfBuilder& Poly(std::uint32_t type, std::uint32_t points) {
    const bool small = type >= kPolyBezier16;
    std::vector<std::uint32_t> body = {0, 0, 10, 10, points};
    for (std::uint32_t i = 0; i < points; ++i) {
      body.push_back(small ? (i | (i << 16)) : i);
      if (!small) body.push_back(i);
    }
    return Record(type, body);
  }
  EmfBuilder& Eof() { return Record(kEof, {0, 16, 20}); }
  std::string Bytes() const {
    std::string out = bytes_;
    Put(out, 48, static_cast<std::uint32_t>(out.size()));
    Put(out, 52, records_);
    return out;
  }
  static void Put(std::string& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  }

 private:
  void Word(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  }
  std::string bytes_;
  std::uint32_t records_ = 0;
};

}  // namespace tavrel::emf
