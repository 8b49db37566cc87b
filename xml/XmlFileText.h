// Reading a profile file as UTF-16 text, a piece at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "xml/ProfileEncoding.h"
#include "xml/ProfileResult.h"
#include "xml/XmlText.h"

namespace tavrel::platform {
class File;
}

namespace tavrel::xml {

// The largest profile file read: 128 MiB. A larger file is refused before anything is allocated
// for it, with kErrorFileTooLarge ("the file is too large"): a 32-bit host can afford any read.
inline constexpr uint64_t kMaxProfileFileBytes = uint64_t{128} << 20;
static_assert(kMaxProfileFileBytes < uint64_t{1} << 32, "offsets in the file fit 32 bits");

// How much of a file is read at a time.
inline constexpr size_t kProfilePieceBytes = size_t{16} << 10;

// Receives the decoded text piece by piece, in order; the units may be
// changed in place. False stops the reading.
using TextSink = std::function<bool(char16_t* first, char16_t* last)>;

class ProfileFileReader {
 public:
  // Hands the file's decoded text to `sink`: UTF-16 LE in mode Utf16, or in Auto (any other value)
  // when the file begins with FF FE; else the ANSI code page. The mark is skipped in every mode; the
  // text ends at the first zero unit (UTF-16) or byte (ANSI). Loaded; EmptyFile; or why the file
  // could not be opened or read, with the system's code (kErrorFileTooLarge above kMaxProfileFileBytes).
  // `pieceBytes` (2 or more) are read at a time; `sized` is told the most units the text can have
  // before the first piece.
  ProfileResult Read(std::u16string_view fileName, ProfileEncoding mode, const TextSink& sink,
                     size_t pieceBytes = kProfilePieceBytes, const std::function<void(uint64_t)>& sized = {});

  // Sets the place of a unit of the text read in `result`: its line and
  // column, and its byte offset in the file.
  void SetPlace(const TextPlace& at, ProfileResult& result) const;

 private:
  // Both below kMaxProfileFileBytes.
  struct Anchor {
    uint32_t unit;
    uint32_t byte;
  };
  // The most bytes carried from one piece to the next.
  static constexpr size_t kMaxCarry = 4;
  // Hand on the units of `size` bytes from `read` (a unit of the buffer, with room for a byte after
  // them), or the ANSI bytes decoded to a character boundary; the bytes used. `last` is set at a zero.
  size_t HandUtf16(char* read, size_t size, bool& last, const TextSink& sink);
  size_t DecodeAnsi(std::string_view bytes, bool& last, const TextSink& sink);
  // Anchors the text's "<" where units and bytes part.
  void AnchorTags(std::string_view text);
  void Hand(char16_t* first, size_t count, uint64_t bytes, const TextSink& sink);

  bool utf16_ = false;
  uint64_t mark_ = 0;     // bytes of the mark
  uint64_t units_ = 0;    // handed on so far
  uint64_t bytes_ = 0;    // of the file, decoded so far (the mark included)
  bool stopped_ = false;  // by the sink
  // ANSI text where a unit is not one byte: the offset of the unit at each
  // anchor; the units after it count one byte each, up to the next.
  std::vector<Anchor> anchors_;
  std::u16string units16_;  // ANSI text decoded
};

}  // namespace tavrel::xml
