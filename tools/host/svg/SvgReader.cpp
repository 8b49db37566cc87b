#include "tools/host/svg/SvgReader.h"

#include <cctype>
#include <cmath>
#include <functional>
#include <set>
#include <sstream>
#include <stdexcept>

#include "tools/host/model/FilePath.h"
#include "tools/host/svg/ElementTree.h"
#include "tools/host/svg/StyleSheet.h"
#include "tools/host/svg/SvgGrammar.h"
#include "tools/host/svg/SvgNumbers.h"
#include "tools/host/svg/SvgShapes.h"
#include "tools/host/svg/SvgStyle.h"

namespace tavrel::hostmodel {
namespace {

// Bounds that keep a hostile drawing from taking the host down: references
// nested deeper than this are left out, and so is everything after this
// many elements visited or shapes made.
constexpr int kMaxUseDepth = 32;
constexpr std::size_t kMaxVisits = 250'000;
constexpr std::size_t kMaxShapes = 100'000;

struct ViewBox {
  double x = 0, y = 0, width = 0, height = 0;
};

std::optional<ViewBox> ParseViewBox(const std::string* text) {
  if (text == nullptr) return std::nullopt;
  try {
    const std::vector<double> n = ParseNumbers(*text);
    if (n.size() == 4 && n[2] > 0 && n[3] > 0) return ViewBox{n[0], n[1], n[2], n[3]};
  } catch (const std::runtime_error&) {
  }
  return std::nullopt;
}

// Maps the view box onto the viewport at (x, y) of the given size, as
// preserveAspectRatio says (default: uniform, centred, fitting inside).
Matrix ViewBoxTransform(const ViewBox& box, double x, double y, double width, double height,
                        const std::string* preserveAspectRatio) {
  std::istringstream words(preserveAspectRatio ? *preserveAspectRatio : "");
  std::string align = "xMidYMid", meetOrSlice = "meet";
  words >> align;
  if (align == "defer") words >> align;
  words >> meetOrSlice;
  double sx = width / box.width, sy = height / box.height;
  if (align != "none") {
    sx = sy = meetOrSlice == "slice" ? std::max(sx, sy) : std::min(sx, sy);
  }
  double tx = x - box.x * sx, ty = y - box.y * sy;
  const double freeX = width - box.width * sx, freeY = height - box.height * sy;
  if (align.find("xMid") != std::string::npos) tx += freeX / 2;
  if (align.find("xMax") != std::string::npos) tx += freeX;
  if (align.find("YMid") != std::string::npos) ty += freeY / 2;
  if (align.find("YMax") != std::string::npos) ty += freeY;
  return Matrix{sx, 0, 0, sy, tx, ty};
}

void Transform(const Matrix& m, Shape& shape) {
  for (Figure& figure : shape.figures) {
    figure.start = m.Apply(figure.start);
    for (Segment& s : figure.segments) {
      s.control1 = m.Apply(s.control1);
      s.control2 = m.Apply(s.control2);
      s.end = m.Apply(s.end);
    }
  }
  if (shape.ellipse) {
    if (m.KeepsAxes()) {
      shape.ellipse = Ellipse{m.Apply(shape.ellipse->centre), std::abs(m.a) * shape.ellipse->radiusX,
                              std::abs(m.d) * shape.ellipse->radiusY};
    } else {
      shape.ellipse.reset();  // drawn from its Bezier figure instead
    }
  }
  shape.strokeWidth *= std::sqrt(std::abs(m.a * m.d - m.b * m.c));
}

struct Level {
  Matrix transform;
  Style style;
  Viewport viewport;
};

class Reader {
 public:
  explicit Reader(const ElementTree& tree) : tree_(tree) {
    context_.paintServer = [this](std::string_view id) { return PaintServer(id); };
    context_.skipped = [this](const std::string& what) { skipped_.insert(what); };
    parentOf_ = [this](const Element& element) -> const Element* {
      const auto found = tree_.parents.find(&element);
      return found == tree_.parents.end() ? nullptr : found->second;
    };
    AddStyleSheets(tree_.root, 0);
  }

  Drawing Read() {
    const Element& root = tree_.root;
    if (root.name != "svg") throw std::runtime_error("the root element is <" + root.name + ">, not <svg>");
    const std::optional<ViewBox> box = ParseViewBox(root.Attribute("viewBox"));
    if (!box && root.Attribute("viewBox") != nullptr) skipped_.insert("a malformed viewBox (ignored)");
    Page& page = drawing_.page;
    page.width = PageLength(root, "width", box ? std::optional<double>(box->width) : std::nullopt);
    page.height = PageLength(root, "height", box ? std::optional<double>(box->height) : std::nullopt);

    Level level;
    if (box)
      level.transform =
          ViewBoxTransform(*box, 0, 0, page.width, page.height, root.Attribute("preserveAspectRatio"));
    level.viewport = box ? Viewport{box->width, box->height} : Viewport{page.width, page.height};
    context_.percentBase = Diagonal(level.viewport);
    level.style = ApplyStyle(level.style, root.attributes, Ruled(root), context_);
    if (level.style.displayed) Children(root, level, 0);
    drawing_.skipped.assign(skipped_.begin(), skipped_.end());
    return std::move(drawing_);
  }

 private:
  static double Diagonal(const Viewport& v) {
    return std::sqrt((v.width * v.width + v.height * v.height) / 2);
  }

  // The root's width or height: a length (% of the view box), else the
  // view box's; refused when neither gives a positive size.
  static double PageLength(const Element& root, const char* name, std::optional<double> fromBox) {
    const std::string* text = root.Attribute(name);
    std::optional<double> length;
    if (text != nullptr && *text != "auto") {
      length = ParseLength(*text, fromBox.value_or(std::nan("")));
      if (!length)
        throw std::runtime_error(std::string("the page ") + name + " \"" + *text + "\" is no length");
      if (std::isnan(*length)) length.reset();  // a percentage without a view box
    }
    if (!length) length = fromBox;
    if (!length) {
      throw std::runtime_error(std::string("the svg element gives no page ") + name +
                               " (neither a length nor a viewBox)");
    }
    if (!(*length > 0)) {
      std::ostringstream out;
      out << "the page " << name << " " << *length << " is not positive";
      throw std::runtime_error(out.str());
    }
    return *length;
  }

  void Children(const Element& element, const Level& level, int useDepth) {
    for (const Element& child : element.children) Walk(child, level, useDepth);
  }

  // The level of an element drawn below `parent`: its style and transform.
  std::optional<Level> Enter(const Element& element, const Level& parent) {
    Level level = parent;
    level.style = ApplyStyle(parent.style, element.attributes, Ruled(element), context_);
    if (!level.style.displayed) return std::nullopt;
    if (const std::string* text = element.Attribute("transform")) {
      if (const std::optional<Matrix> m = ParseTransformGrammar(*text)) {
        level.transform = parent.transform.Then(*m);
      } else {
        skipped_.insert("malformed transforms (ignored)");
      }
    }
    return level;
  }

  void Walk(const Element& element, const Level& parent, int useDepth) {
    if (++visits_ > kMaxVisits) {
      skipped_.insert("everything after " + std::to_string(kMaxVisits) + " elements");
      return;
    }
    const std::string& name = element.name;
    if (name == "text") return Note("text");
    if (name == "image") return Note("images");
    if (name == "foreignObject") return Note("foreign objects");
    if (name == "style") return;  // read before the walk
    const bool group = name == "g" || name == "a" || name == "svg" || name == "switch" || name == "use";
    if (!group && !IsShapeElement(name)) return;  // definitions, metadata, unknown elements
    std::optional<Level> level = Enter(element, parent);
    if (!level) return;
    if (IsShapeElement(name)) {
      AddShape(element, *level);
    } else if (name == "svg") {
      NestedViewport(element, element, *level);
      Children(element, *level, useDepth);
    } else if (name == "switch") {
      // The first child that is drawn at all.
      for (const Element& child : element.children) {
        if (child.name == "foreignObject" || child.Attribute("requiredExtensions") != nullptr) continue;
        Walk(child, *level, useDepth);
        break;
      }
    } else if (name == "use") {
      Use(element, *level, useDepth);
    } else {
      Children(element, *level, useDepth);
    }
  }

  void Note(const std::string& what) { skipped_.insert(what); }

  // The CSS style sheets of every <style> element, in document order; and
  // a note where lengths are relative to a font, which is not read.
  void AddStyleSheets(const Element& element, std::size_t depth) {
    for (const auto& [name, value] : element.attributes) {
      if (value.size() >= 3 && (value.ends_with("em") || value.ends_with("ex")) &&
          std::isdigit(static_cast<unsigned char>(value[value.size() - 3])) != 0)
        Note("font-relative lengths (em, ex; taken at a 16 px font)");
    }
    if (element.name == "style") {
      const std::string* type = element.Attribute("type");
      if (type == nullptr || type->empty() || *type == "text/css") {
        sheet_.Add(element.text, context_.skipped);
      } else {
        Note("style sheets of type " + *type);
      }
    }
    if (depth >= kMaxElementDepth) return;
    for (const Element& child : element.children) AddStyleSheets(child, depth + 1);
  }

  // The declarations of the style sheet rules matching the element.
  std::string Ruled(const Element& element) const {
    return sheet_.Empty() ? std::string() : sheet_.Declarations(element, parentOf_);
  }

  // A viewport established by `sized` (svg or use) for `content` (svg or
  // symbol): its position, size and view box.
  void NestedViewport(const Element& sized, const Element& content, Level& level) {
    const Viewport outer = level.viewport;
    auto length = [&](const char* name, double percentOf, double fallback) {
      const std::string* text = sized.Attribute(name);
      if (text == nullptr) text = content.Attribute(name);
      return text == nullptr ? fallback : ParseLength(*text, percentOf).value_or(fallback);
    };
    const double width = length("width", outer.width, outer.width);
    const double height = length("height", outer.height, outer.height);
    if (&sized == &content) {
      level.transform = level.transform.Then(
          Matrix::Translation(length("x", outer.width, 0), length("y", outer.height, 0)));
    }
    level.viewport = {width, height};
    if (const std::optional<ViewBox> box = ParseViewBox(content.Attribute("viewBox"))) {
      if (width > 0 && height > 0) {
        level.transform = level.transform.Then(
            ViewBoxTransform(*box, 0, 0, width, height, content.Attribute("preserveAspectRatio")));
      }
      level.viewport = {box->width, box->height};
    }
  }

  void Use(const Element& use, Level level, int useDepth) {
    const std::string* href = use.Attribute("href");
    if (href == nullptr || href->empty()) return;
    if (href->front() != '#') return Note("references to other files");
    const auto found = tree_.ids.find(std::string_view(*href).substr(1));
    if (found == tree_.ids.end()) return;
    const Element& target = *found->second;
    if (useDepth >= kMaxUseDepth || inUse_.count(&target) != 0)
      return Note("circular or too deeply nested use");
    auto coordinate = [&](const char* name, double percentOf) {
      const std::string* text = use.Attribute(name);
      return text == nullptr ? 0 : ParseLength(*text, percentOf).value_or(0);
    };
    level.transform = level.transform.Then(
        Matrix::Translation(coordinate("x", level.viewport.width), coordinate("y", level.viewport.height)));
    inUse_.insert(&target);
    if (target.name == "symbol" || target.name == "svg") {
      if (std::optional<Level> inner = Enter(target, level)) {
        NestedViewport(use, target, *inner);
        Children(target, *inner, useDepth + 1);
      }
    } else {
      Walk(target, level, useDepth + 1);
    }
    inUse_.erase(&target);
  }

  void AddShape(const Element& element, const Level& level) {
    if (!level.style.visible) return;
    if (drawing_.page.shapes.size() >= kMaxShapes) {
      return Note("shapes after the first " + std::to_string(kMaxShapes));
    }
    Shape shape;
    shape.element = element.name;
    if (const std::string* id = element.Attribute("id")) shape.id = *id;
    if (!ShapeGeometry(element, level.viewport, shape)) Note("path data after an error");
    if (shape.figures.empty()) return;
    shape.fill = level.style.Fill();
    shape.stroke = level.style.Stroke();
    shape.strokeWidth = level.style.strokeWidth;
    shape.evenOdd = level.style.evenOdd;
    // A line has no inside; a polyline is filled as if closed, like a path.
    if (element.name == "line") shape.fill.reset();
    Transform(level.transform, shape);
    drawing_.page.shapes.push_back(std::move(shape));
  }

  // The flat colour a gradient or pattern is drawn with: the mean of the
  // gradient's stops (following its href for them); a pattern leaves the
  // shape unpainted.
  std::optional<Paint> PaintServer(std::string_view id) {
    const auto found = tree_.ids.find(id);
    if (found == tree_.ids.end()) return std::nullopt;
    const Element* server = found->second;
    if (server->name == "pattern") {
      Note("patterns (left unpainted)");
      return Paint{};
    }
    if (server->name != "linearGradient" && server->name != "radialGradient") return std::nullopt;
    Note("gradients (drawn as flat colour)");
    for (int hops = 0; hops < 8 && server != nullptr; ++hops) {
      double sum[3] = {0, 0, 0};
      int stops = 0;
      for (const Element& stop : server->children) {
        if (stop.name != "stop") continue;
        const std::string ruled = Ruled(stop);
        const std::optional<std::string_view> text = StyleProperty(stop.attributes, ruled, "stop-color");
        const Color color = text ? ParseColor(*text).value_or(Color{}) : Color{};
        sum[0] += color.red;
        sum[1] += color.green;
        sum[2] += color.blue;
        ++stops;
      }
      if (stops > 0) {
        auto mean = [&](double s) { return static_cast<std::uint8_t>(std::lround(s / stops)); };
        return Paint{false, Color{mean(sum[0]), mean(sum[1]), mean(sum[2])}};
      }
      const std::string* href = server->Attribute("href");
      const auto next = href && href->starts_with("#") ? tree_.ids.find(std::string_view(*href).substr(1))
                                                       : tree_.ids.end();
      server = next == tree_.ids.end() ? nullptr : next->second;
    }
    return Paint{};  // no stops: nothing painted
  }

  const ElementTree& tree_;
  Drawing drawing_;
  StyleContext context_;
  StyleSheet sheet_;
  std::function<const Element*(const Element&)> parentOf_;
  std::set<std::string> skipped_;
  std::set<const Element*> inUse_;
  std::size_t visits_ = 0;
};

}  // namespace

Drawing ReadSvg(const std::filesystem::path& file) {
  try {
    const std::unique_ptr<ElementTree> tree = ReadElementTree(file);
    Drawing drawing = Reader(*tree).Read();
    drawing.source = file;
    return drawing;
  } catch (const std::runtime_error& e) {
    throw std::runtime_error(PathText(file) + ": " + e.what());
  }
}

}  // namespace tavrel::hostmodel
