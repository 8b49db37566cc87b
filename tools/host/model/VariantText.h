// Variants as text, for scenarios and logs: "bstr:Tavrel", "i4:5", "i2:-1",
// "bool:-1", "byref-bool:0", "byref-i4:3", "empty", "null", "bstr-null"
// (a string variant holding a null string) and "byref-null" (a by-reference
// boolean with a null pointer).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Com.h"

namespace tavrel::hostmodel {

// Owns the variants of an argument block and what they point to.
class VariantList {
 public:
  VariantList() = default;
  VariantList(const VariantList&) = delete;
  VariantList& operator=(const VariantList&) = delete;
  ~VariantList();

  // Adds one argument; throws std::invalid_argument for unknown text.
  void Add(std::string_view text);
  std::size_t Size() const { return variants_.size(); }
  // The arguments in event order.
  VARIANT& operator[](std::size_t i) { return *variants_[i]; }
  // Shallow copies of the arguments in event order (what they point to
  // stays owned here).
  std::vector<VARIANT> Items() const;

 private:
  std::vector<std::unique_ptr<VARIANT>> variants_;
  std::vector<std::unique_ptr<VARIANT_BOOL>> bools_;
  std::vector<std::unique_ptr<LONG>> longs_;
};

std::string VariantToText(const VARIANT& v);

}  // namespace tavrel::hostmodel
