// UTF-16 text in a buffer of fixed capacity (counted in units, the
// terminating NUL included). Copy, append and format never write past the
// buffer: what does not fit is cut, and the operation says so in a result
// the caller must use.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/Text.h"

namespace tavrel::exporting {

// The most units AppendFormat adds for `pattern`: its first "%d" becomes at
// most 11 units ("-2147483648").
constexpr std::size_t MaxFormattedLength(std::u16string_view pattern) {
  return pattern.find(u"%d") == std::u16string_view::npos ? pattern.size() : pattern.size() - 2 + 11;
}

// The same for a pattern of `length` units with one "%d".
constexpr std::size_t MaxFormattedLength(std::size_t length) { return length - 2 + 11; }

template <std::size_t Capacity>
class FixedText {
  static_assert(Capacity >= 1, "room for the NUL is needed");

 public:
  FixedText() = default;

  // Bounded copy: true when the whole text fit.
  [[nodiscard]] bool Assign(std::u16string_view s) {
    Clear();
    return Append(s);
  }

  // Bounded append: true when the whole text fit.
  [[nodiscard]] bool Append(std::u16string_view s) {
    const std::size_t n = std::min(s.size(), Capacity - 1 - size_);
    for (std::size_t i = 0; i < n; ++i) text_[size_++] = s[i];
    text_[size_] = u'\0';
    return n == s.size();
  }

  // Bounded format: appends `pattern` with its first "%d" replaced by the
  // value as a signed decimal number. True when the whole text fit.
  [[nodiscard]] bool AppendFormat(std::u16string_view pattern, int32_t value) {
    const std::size_t at = pattern.find(u"%d");
    if (at == std::u16string_view::npos) return Append(pattern);
    const bool head = Append(pattern.substr(0, at));
    const bool number = Append(text::FormatInt(value));
    const bool tail = Append(pattern.substr(at + 2));
    return head && number && tail;
  }

  // Bounded format into emptied text, as AppendFormat.
  [[nodiscard]] bool Format(std::u16string_view pattern, int32_t value) {
    Clear();
    return AppendFormat(pattern, value);
  }

  std::u16string_view View() const { return std::u16string_view(text_, size_); }
  const char16_t* CStr() const { return text_; }
  std::size_t Size() const { return size_; }
  static constexpr std::size_t kCapacity = Capacity;

 private:
  void Clear() {
    size_ = 0;
    text_[0] = u'\0';
  }

  char16_t text_[Capacity] = {};
  std::size_t size_ = 0;
};

// The capacities the send command works with.
using PathText = FixedText<255>;
using CommandLineText = FixedText<510>;
using MessageText = FixedText<255>;

}  // namespace tavrel::exporting
