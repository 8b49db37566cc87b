#include "tools/host/svg/SvgNumbers.h"

#include <cctype>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace tavrel::hostmodel {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The length of the number at the front of `text`, 0 when there is none.
std::size_t NumberLength(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  return i;
}

// Reads the number at the front of `text` and removes it.
std::optional<double> TakeNumber(std::string_view& text) {
  const std::size_t length = NumberLength(text);
  if (length == 0) return std::nullopt;
  const std::string number(text.substr(0, length));
  text.remove_prefix(length);
  return std::strtod(number.c_str(), nullptr);
}

std::string_view TrimSpace(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

std::vector<double> ParseNumbers(std::string_view data) {
  std::vector<double> numbers;
  std::string_view rest = TrimSpace(data);
  while (!rest.empty()) {
    const std::optional<double> number = TakeNumber(rest);
    if (!number) throw std::runtime_error("\"" + std::string(data) + "\" is no list of numbers");
    numbers.push_back(*number);
    rest = TrimSpace(rest);
    if (!rest.empty() && rest.front() == ',') {
      rest = TrimSpace(rest.substr(1));
      if (rest.empty()) throw std::runtime_error("\"" + std::string(data) + "\" ends with a comma");
    }
  }
  return numbers;
}

std::vector<Point> ParsePoints(std::string_view data) {
  std::vector<double> n;
  try {
    n = ParseNumbers(data);
  } catch (const std::runtime_error&) {
    // Draw the points before the error.
    std::string_view rest = TrimSpace(data);
    while (const std::optional<double> number = TakeNumber(rest)) {
      n.push_back(*number);
      rest = TrimSpace(rest);
      if (!rest.empty() && rest.front() == ',') rest = TrimSpace(rest.substr(1));
    }
  }
  std::vector<Point> points;
  points.reserve(n.size() / 2);
  for (std::size_t i = 0; i + 1 < n.size(); i += 2) points.push_back({n[i], n[i + 1]});
  return points;
}

std::optional<double> ParseLength(std::string_view text, double percentOf) {
  std::string_view rest = TrimSpace(text);
  const std::optional<double> number = TakeNumber(rest);
  if (!number) return std::nullopt;
  struct Unit {
    std::string_view name;
    double pixels;
  };
  static constexpr Unit kUnits[] = {{"", 1},    {"px", 1},         {"pt", 96.0 / 72},
                                    {"pc", 16}, {"mm", 96 / 25.4}, {"cm", 96 / 2.54},
                                    {"in", 96}, {"em", 16},        {"ex", 8}};
  for (const Unit& unit : kUnits) {
    if (rest == unit.name) return *number * unit.pixels;
  }
  if (rest == "%") return *number * percentOf / 100;
  return std::nullopt;
}

}  // namespace tavrel::hostmodel
