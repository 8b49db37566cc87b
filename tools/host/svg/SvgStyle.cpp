#include "tools/host/svg/SvgStyle.h"

#include <cctype>

#include "tools/host/svg/SvgGrammar.h"
#include "tools/host/svg/SvgNumbers.h"

namespace tavrel::hostmodel {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

// A paint: none, currentColor, a colour, or url(#id) with an optional
// fallback. Nullopt when it does not parse (the inherited paint stays).
std::optional<Paint> ParsePaint(std::string_view text, const StyleContext& context) {
  text = Trim(text);
  if (text == "none") return Paint{};
  if (text == "currentColor") return Paint{true, {}};
  if (text.starts_with("url(")) {
    const std::size_t close = text.find(')');
    if (close == std::string_view::npos) return std::nullopt;
    std::string_view id = Trim(text.substr(4, close - 4));
    if (id.size() >= 2 && (id.front() == '\'' || id.front() == '"')) id = id.substr(1, id.size() - 2);
    if (id.starts_with("#")) id.remove_prefix(1);
    if (std::optional<Paint> server = context.paintServer ? context.paintServer(id) : std::nullopt)
      return server;
    // No such server: the fallback, else none.
    const std::string_view fallback = Trim(text.substr(close + 1));
    if (fallback.empty()) return Paint{};
    return ParsePaint(fallback, context).value_or(Paint{});
  }
  if (const std::optional<Color> color = ParseColorGrammar(text)) return Paint{false, color};
  return std::nullopt;
}

// Properties drawn without their effect, with the note the log gets.
constexpr std::pair<std::string_view, std::string_view> kApproximated[] = {
    {"filter", "filter effects (drawn without them)"},
    {"clip-path", "clipping paths (drawn unclipped)"},
    {"mask", "masks (drawn unmasked)"},
    {"marker", "markers"},
    {"marker-start", "markers"},
    {"marker-mid", "markers"},
    {"marker-end", "markers"},
};

// An opacity of 0 leaves out what it applies to; one between 0 and 1 is
// drawn opaque and noted.
void SetOpacity(Style& style, std::string_view name, std::string_view value, const StyleContext& context) {
  const std::optional<double> opacity = ParseLength(value, 1);  // a number, or % of 1
  if (!opacity) return;
  const double clamped = (std::min)(1.0, (std::max)(0.0, *opacity));
  if (clamped > 0 && clamped < 1 && context.skipped) context.skipped("transparency (drawn opaque)");
  if (name == "fill-opacity") {
    style.fillOpacity = clamped;
  } else if (name == "stroke-opacity") {
    style.strokeOpacity = clamped;
  } else if (clamped == 0) {
    style.displayed = false;
  }
}

void SetProperty(Style& style, std::string_view name, std::string_view value, const StyleContext& context) {
  value = Trim(value);
  if (value.ends_with("!important")) value = Trim(value.substr(0, value.size() - 10));
  if (value == "inherit") return;
  if (name == "fill") {
    if (auto paint = ParsePaint(value, context)) style.fill = *paint;
  } else if (name == "stroke") {
    if (auto paint = ParsePaint(value, context)) style.stroke = *paint;
  } else if (name == "stroke-width") {
    const std::optional<double> width = ParseLength(value, context.percentBase);
    if (width && *width >= 0) style.strokeWidth = *width;
  } else if (name == "color") {
    if (auto color = ParseColorGrammar(value)) style.color = *color;
  } else if (name == "visibility") {
    style.visible = value == "visible";
  } else if (name == "display") {
    style.displayed = value != "none";
  } else if (name == "fill-rule") {
    if (value == "evenodd" || value == "nonzero") style.evenOdd = value == "evenodd";
  } else if (name == "opacity" || name == "fill-opacity" || name == "stroke-opacity") {
    SetOpacity(style, name, value, context);
  } else {
    for (const auto& [property, note] : kApproximated) {
      if (name == property && value != "none" && context.skipped) context.skipped(std::string(note));
    }
  }
}

// Calls `property(name, value)` for each declaration of a style attribute.
template <class Function>
void ForEachDeclaration(std::string_view declarations, Function property) {
  while (!declarations.empty()) {
    const std::size_t end = std::min(declarations.find(';'), declarations.size());
    const std::string_view declaration = declarations.substr(0, end);
    const std::size_t colon = declaration.find(':');
    if (colon != std::string_view::npos)
      property(Trim(declaration.substr(0, colon)), declaration.substr(colon + 1));
    declarations.remove_prefix(std::min(end + 1, declarations.size()));
  }
}

}  // namespace

std::optional<std::string_view> StyleProperty(const Attributes& attributes, std::string_view ruled,
                                              std::string_view name) {
  std::optional<std::string_view> found;
  auto take = [&](std::string_view property, std::string_view text) {
    if (property == name) found = text;
  };
  for (const auto& [key, value] : attributes) {
    if (key == "style") ForEachDeclaration(value, take);
  }
  if (found) return found;
  ForEachDeclaration(ruled, take);
  if (found) return found;
  for (const auto& [key, value] : attributes) {
    if (key == name) return value;
  }
  return std::nullopt;
}

std::optional<Color> ParseColor(std::string_view text) { return ParseColorGrammar(Trim(text)); }

Style ApplyStyle(Style inherited, const Attributes& attributes, std::string_view ruled,
                 const StyleContext& context) {
  inherited.displayed = true;
  std::string_view declarations;
  for (const auto& [name, value] : attributes) {
    if (name == "style") {
      declarations = value;
    } else {
      SetProperty(inherited, name, value, context);
    }
  }
  auto set = [&](std::string_view name, std::string_view value) {
    SetProperty(inherited, name, value, context);
  };
  ForEachDeclaration(ruled, set);
  ForEachDeclaration(declarations, set);
  return inherited;
}

}  // namespace tavrel::hostmodel
