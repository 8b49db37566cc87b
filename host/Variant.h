// An owned VARIANT, cleared on destruction.
#pragma once

#include <string_view>

#include "platform/Com.h"

namespace tavrel::host {

class Variant {
 public:
  Variant() { VariantInit(&v_); }
  // A string variant holding a copy of the text.
  explicit Variant(std::u16string_view text) : Variant() {
    v_.vt = VT_BSTR;
    v_.bstrVal = platform::AllocBstr(text);
  }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(&v_); }

  const VARIANT& Get() const { return v_; }
  VARIANT* Put() {
    VariantClear(&v_);
    return &v_;
  }

 private:
  VARIANT v_;
};

}  // namespace tavrel::host
