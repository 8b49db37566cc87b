#include "tools/host/model/VariantText.h"

#include <stdexcept>

#include "platform/Text.h"

namespace tavrel::hostmodel {
namespace {

LONG Number(std::string_view text) {
  const std::string s(text);
  std::size_t used = 0;
  const long value = std::stol(s, &used, 0);
  if (used != s.size()) throw std::invalid_argument("not a number: " + s);
  return static_cast<LONG>(value);
}

}  // namespace

VariantList::~VariantList() {
  for (auto& v : variants_) VariantClear(v.get());
}

void VariantList::Add(std::string_view text) {
  auto v = std::make_unique<VARIANT>();
  VariantInit(v.get());
  const std::size_t colon = text.find(':');
  const std::string_view type = text.substr(0, colon);
  const std::string_view value =
      colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
  if (type == "bstr") {
    v->vt = VT_BSTR;
    v->bstrVal = platform::AllocBstr(text::FromUtf8(value));
  } else if (type == "bstr-null") {
    v->vt = VT_BSTR;
  } else if (type == "i4") {
    v->vt = VT_I4;
    v->lVal = Number(value);
  } else if (type == "i2") {
    v->vt = VT_I2;
    v->iVal = static_cast<SHORT>(Number(value));
  } else if (type == "bool") {
    v->vt = VT_BOOL;
    v->boolVal = static_cast<VARIANT_BOOL>(Number(value));
  } else if (type == "byref-bool") {
    bools_.push_back(std::make_unique<VARIANT_BOOL>(static_cast<VARIANT_BOOL>(Number(value))));
    v->vt = VT_BYREF | VT_BOOL;
    v->pboolVal = bools_.back().get();
  } else if (type == "byref-i4") {
    longs_.push_back(std::make_unique<LONG>(Number(value)));
    v->vt = VT_BYREF | VT_I4;
    v->plVal = longs_.back().get();
  } else if (type == "byref-null") {
    v->vt = VT_BYREF | VT_BOOL;
  } else if (type == "null") {
    v->vt = VT_NULL;
  } else if (type != "empty") {
    throw std::invalid_argument("unknown argument type: " + std::string(text));
  }
  variants_.push_back(std::move(v));
}

std::vector<VARIANT> VariantList::Items() const {
  std::vector<VARIANT> items;
  items.reserve(variants_.size());
  for (const auto& v : variants_) items.push_back(*v);
  return items;
}

std::string VariantToText(const VARIANT& v) {
  switch (v.vt) {
    case VT_EMPTY:
      return "empty";
    case VT_NULL:
      return "null";
    case VT_BSTR:
      return v.bstrVal == nullptr ? "bstr-null" : "bstr:" + text::ToUtf8(platform::BstrView(v.bstrVal));
    case VT_I4:
      return "i4:" + std::to_string(v.lVal);
    case VT_I2:
      return "i2:" + std::to_string(v.iVal);
    case VT_BOOL:
      return "bool:" + std::to_string(v.boolVal);
    case VT_BYREF | VT_BOOL:
      return v.pboolVal == nullptr ? "byref-null" : "byref-bool:" + std::to_string(*v.pboolVal);
    case VT_BYREF | VT_I4:
      return v.plVal == nullptr ? "byref-null" : "byref-i4:" + std::to_string(*v.plVal);
    default:
      return "vt:" + std::to_string(v.vt);
  }
}

}  // namespace tavrel::hostmodel
