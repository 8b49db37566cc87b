#include "tools/host/svg/SvgStyle.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <numbers>
#include <stdexcept>

#include "tools/host/svg/SvgPath.h"

namespace tavrel::hostmodel {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A paint: none, #rgb, #rrggbb, rgb(r,g,b) or a basic colour name. Anything
// else leaves the inherited paint, as SVG ignores an invalid value.
std::optional<std::optional<Color>> ParsePaint(std::string_view text) {
  text = Trim(text);
  if (text == "none") return std::optional<Color>();
  auto byte = [](int hi, int lo) { return static_cast<std::uint8_t>(hi * 16 + lo); };
  if (text.size() == 4 && text[0] == '#' && Hex(text[1]) >= 0 && Hex(text[2]) >= 0 && Hex(text[3]) >= 0) {
    return Color{byte(Hex(text[1]), Hex(text[1])), byte(Hex(text[2]), Hex(text[2])),
                 byte(Hex(text[3]), Hex(text[3]))};
  }
  if (text.size() == 7 && text[0] == '#') {
    int h[6];
    for (int i = 0; i < 6; ++i) {
      if ((h[i] = Hex(text[1 + i])) < 0) return std::nullopt;
    }
    return Color{byte(h[0], h[1]), byte(h[2], h[3]), byte(h[4], h[5])};
  }
  if (text.starts_with("rgb(") && text.ends_with(")")) {
    std::vector<double> parts;
    try {
      parts = ParseNumbers(text.substr(4, text.size() - 5));
    } catch (const std::runtime_error&) {
      return std::nullopt;
    }
    if (parts.size() != 3) return std::nullopt;
    auto clamp = [](double v) {
      return static_cast<std::uint8_t>(std::lround(std::fmin(255, std::fmax(0, v))));
    };
    return Color{clamp(parts[0]), clamp(parts[1]), clamp(parts[2])};
  }
  static const std::map<std::string_view, Color> names = {
      {"black", {0, 0, 0}},      {"white", {255, 255, 255}}, {"red", {255, 0, 0}},
      {"green", {0, 128, 0}},    {"blue", {0, 0, 255}},      {"yellow", {255, 255, 0}},
      {"orange", {255, 165, 0}}, {"purple", {128, 0, 128}},  {"gray", {128, 128, 128}},
      {"grey", {128, 128, 128}}, {"pink", {255, 192, 203}},  {"brown", {165, 42, 42}},
  };
  const auto found = names.find(text);
  if (found == names.end()) return std::nullopt;
  return found->second;
}

void SetProperty(Style& style, std::string_view name, std::string_view value) {
  if (name == "fill") {
    if (auto paint = ParsePaint(value)) style.fill = *paint;
  } else if (name == "stroke") {
    if (auto paint = ParsePaint(value)) style.stroke = *paint;
  } else if (name == "stroke-width") {
    const std::string number(Trim(value));
    char* end = nullptr;
    const double width = std::strtod(number.c_str(), &end);
    if (end != number.c_str() && width >= 0) style.strokeWidth = width;
  }
}

}  // namespace

Matrix Matrix::Then(const Matrix& inner) const {
  return {a * inner.a + c * inner.b, b * inner.a + d * inner.b,     a * inner.c + c * inner.d,
          b * inner.c + d * inner.d, a * inner.e + c * inner.f + e, b * inner.e + d * inner.f + f};
}

Matrix ParseTransform(std::string_view text) {
  Matrix result;
  text = Trim(text);
  while (!text.empty()) {
    const std::size_t open = text.find('(');
    const std::size_t close = text.find(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
      throw std::runtime_error("bad transform \"" + std::string(text) + "\"");
    }
    const std::string_view name = Trim(text.substr(0, open));
    const std::vector<double> n = ParseNumbers(text.substr(open + 1, close - open - 1));
    Matrix m;
    if (name == "translate" && (n.size() == 1 || n.size() == 2)) {
      m.e = n[0];
      m.f = n.size() == 2 ? n[1] : 0;
    } else if (name == "scale" && (n.size() == 1 || n.size() == 2)) {
      m.a = n[0];
      m.d = n.size() == 2 ? n[1] : n[0];
    } else if (name == "rotate" && n.size() == 1) {
      const double r = n[0] * std::numbers::pi / 180;
      m = {std::cos(r), std::sin(r), -std::sin(r), std::cos(r), 0, 0};
    } else if (name == "matrix" && n.size() == 6) {
      m = {n[0], n[1], n[2], n[3], n[4], n[5]};
    } else {
      throw std::runtime_error("unsupported transform \"" + std::string(text.substr(0, close + 1)) + "\"");
    }
    result = result.Then(m);
    text = Trim(text.substr(close + 1));
    if (!text.empty() && text.front() == ',') text = Trim(text.substr(1));
  }
  return result;
}

Style ApplyStyle(Style inherited, const std::vector<std::pair<std::string, std::string>>& attributes) {
  std::string_view declarations;
  for (const auto& [name, value] : attributes) {
    if (name == "style") {
      declarations = value;
    } else {
      SetProperty(inherited, name, value);
    }
  }
  while (!declarations.empty()) {
    const std::size_t end = std::min(declarations.find(';'), declarations.size());
    const std::string_view declaration = declarations.substr(0, end);
    const std::size_t colon = declaration.find(':');
    if (colon != std::string_view::npos) {
      SetProperty(inherited, Trim(declaration.substr(0, colon)), declaration.substr(colon + 1));
    }
    declarations.remove_prefix(std::min(end + 1, declarations.size()));
  }
  return inherited;
}

}  // namespace tavrel::hostmodel
