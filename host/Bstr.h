// An owned automation string.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "platform/Codepage.h"
#include "platform/Com.h"

namespace tavrel::host {

class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::u16string_view text) : b_(platform::AllocBstr(text)) {}
  // A narrow literal of the plug-in, converted with the ANSI code page.
  static Bstr FromAnsi(std::string_view text) { return Bstr(platform::AnsiToUtf16(text)); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  Bstr(Bstr&& other) noexcept : b_(std::exchange(other.b_, nullptr)) {}
  Bstr& operator=(Bstr&& other) noexcept {
    if (this != &other) {
      Reset();
      b_ = std::exchange(other.b_, nullptr);
    }
    return *this;
  }
  ~Bstr() { Reset(); }

  void Reset() { SysFreeString(std::exchange(b_, nullptr)); }
  BSTR* Put() {
    Reset();
    return &b_;
  }
  BSTR Get() const { return b_; }
  bool IsNull() const { return b_ == nullptr; }
  std::u16string_view View() const { return platform::BstrView(b_); }

 private:
  BSTR b_ = nullptr;
};

}  // namespace tavrel::host
