#include "platform/Codepage.h"

#include <iconv.h>

#include <array>
#include <unordered_map>

#include "platform/posix/Handles.h"

namespace tavrel::platform {

namespace {

// Windows-1252 as the ANSI code page. iconv gives the table once; the five
// bytes it leaves undefined map to the C1 control of the same number, as
// MultiByteToWideChar does.
struct Cp1252 {
  std::array<char16_t, 256> toUnicode{};
  std::unordered_map<char16_t, char> fromUnicode;

  Cp1252() {
    const posix::ConverterHandle cd(::iconv_open("UTF-16LE", "WINDOWS-1252"));
    for (int b = 0; b < 256; ++b) {
      char in = static_cast<char>(b);
      unsigned char out[4] = {};
      char* inPtr = &in;
      char* outPtr = reinterpret_cast<char*>(out);
      size_t inLeft = 1;
      size_t outLeft = sizeof out;
      const bool ok = cd &&
                      ::iconv(cd.Get(), &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) &&
                      outLeft == 2;
      toUnicode[static_cast<size_t>(b)] =
          ok ? static_cast<char16_t>(out[0] | (out[1] << 8)) : static_cast<char16_t>(b);
      fromUnicode.emplace(toUnicode[static_cast<size_t>(b)], static_cast<char>(b));
    }
  }
};

const Cp1252& Table() {
  static const Cp1252 table;
  return table;
}

}  // namespace

std::u16string AnsiToUtf16(std::string_view bytes) {
  const Cp1252& t = Table();
  std::u16string out(bytes.size(), u'\0');
  for (size_t i = 0; i < bytes.size(); ++i) out[i] = t.toUnicode[static_cast<unsigned char>(bytes[i])];
  return out;
}

const std::array<char16_t, 256>* AnsiByteUnits() { return &Table().toUnicode; }

size_t WholeCharacters(std::string_view bytes, unsigned /*codePage*/) { return bytes.size(); }

std::string Utf16ToAnsi(std::u16string_view text) {
  const Cp1252& t = Table();
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    const auto it = t.fromUnicode.find(c);
    out.push_back(it == t.fromUnicode.end() ? '?' : it->second);
  }
  return out;
}

}  // namespace tavrel::platform
