// Presentation of SVG shapes: paints, stroke width, colour and visibility,
// from presentation attributes, style sheet rules and the "style"
// attribute, inherited through groups.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/host/svg/Drawing.h"

namespace tavrel::hostmodel {

using Attributes = std::vector<std::pair<std::string, std::string>>;

struct Paint {
  bool currentColor = false;   // the element's "color"
  std::optional<Color> color;  // none when empty
};

struct Style {
  Paint fill{false, Color{}};  // black, as SVG's default
  Paint stroke;                // none
  double strokeWidth = 1;
  Color color;
  bool visible = true;
  bool evenOdd = false;  // fill-rule
  // Inherited; 0 leaves the paint out, anything else is drawn opaque.
  double fillOpacity = 1;
  double strokeOpacity = 1;
  // Not inherited: "display: none" hides the element and all below it, and
  // so does "opacity: 0".
  bool displayed = true;

  std::optional<Color> Fill() const {
    return fillOpacity > 0 ? (fill.currentColor ? color : fill.color) : std::nullopt;
  }
  std::optional<Color> Stroke() const {
    return strokeOpacity > 0 ? (stroke.currentColor ? color : stroke.color) : std::nullopt;
  }
};

// What styles refer to in the document, and where the reader notes what it
// draws only approximately.
struct StyleContext {
  // The flat paint standing for the paint server with that id ("url(#id)"),
  // nullopt when there is no such server.
  std::function<std::optional<Paint>(std::string_view id)> paintServer;
  std::function<void(const std::string& what)> skipped;
  // What "%" of a stroke width refers to.
  double percentBase = 100;
};

// The style of an element: the parent's, overridden by the element's
// presentation attributes, overridden by the declarations of the style
// sheet rules that match it (`ruled`, lowest precedence first), overridden
// by its "style" declarations. Values that do not parse are ignored, as SVG
// does.
Style ApplyStyle(Style inherited, const Attributes& attributes, std::string_view ruled,
                 const StyleContext& context);

// A property from the "style" attribute, else from the rules' declarations
// (the last one), else from the attribute of its name (as for stop-color,
// which is not inherited).
std::optional<std::string_view> StyleProperty(const Attributes& attributes, std::string_view ruled,
                                              std::string_view name);

// A colour value as in stop-color; nullopt when malformed.
std::optional<Color> ParseColor(std::string_view text);

}  // namespace tavrel::hostmodel
