#include "tools/host/svg/SvgGrammar.h"

#include <svgpp/parser/color.hpp>
#include <svgpp/parser/path_data.hpp>
#include <svgpp/parser/transform_list.hpp>

#include <cctype>
#include <string>

namespace tavrel::hostmodel {
namespace {

struct PathContext {
  PathSink& sink;
  void path_move_to(double x, double y, svgpp::tag::coordinate::absolute) { sink.MoveTo({x, y}); }
  void path_line_to(double x, double y, svgpp::tag::coordinate::absolute) { sink.LineTo({x, y}); }
  void path_cubic_bezier_to(double x1, double y1, double x2, double y2, double x, double y,
                            svgpp::tag::coordinate::absolute) {
    sink.CubicTo({x1, y1}, {x2, y2}, {x, y});
  }
  void path_quadratic_bezier_to(double x1, double y1, double x, double y, svgpp::tag::coordinate::absolute) {
    sink.QuadTo({x1, y1}, {x, y});
  }
  void path_elliptical_arc_to(double rx, double ry, double rotation, bool largeArc, bool sweep, double x,
                              double y, svgpp::tag::coordinate::absolute) {
    sink.ArcTo(rx, ry, rotation, largeArc, sweep, {x, y});
  }
  void path_close_subpath() { sink.Close(); }
  void path_exit() {}
};

struct TransformContext {
  std::optional<Matrix> matrix;
  void transform_matrix(const boost::array<double, 6>& m) {
    matrix = Matrix{m[0], m[1], m[2], m[3], m[4], m[5]};
  }
};

struct ColorContext {
  std::optional<Color> color;
  // svgpp's integer colour: 0xRRGGBB.
  void set(svgpp::tag::attribute::color, int value) {
    color = Color{static_cast<std::uint8_t>((value >> 16) & 0xff),
                  static_cast<std::uint8_t>((value >> 8) & 0xff), static_cast<std::uint8_t>(value & 0xff)};
  }
};

// A value that does not parse is reported as false, never thrown.
template <class Context>
struct QuietErrors {
  using context_type = Context;
  template <class AttributeTag, class Value>
  static bool parse_failed(const Context&, AttributeTag, const Value&) {
    return false;
  }
};

}  // namespace
}  // namespace tavrel::hostmodel

namespace svgpp::policy::error {
template <>
struct default_policy<tavrel::hostmodel::PathContext>
    : tavrel::hostmodel::QuietErrors<tavrel::hostmodel::PathContext> {};
template <>
struct default_policy<tavrel::hostmodel::TransformContext>
    : tavrel::hostmodel::QuietErrors<tavrel::hostmodel::TransformContext> {};
template <>
struct default_policy<tavrel::hostmodel::ColorContext>
    : tavrel::hostmodel::QuietErrors<tavrel::hostmodel::ColorContext> {};
}  // namespace svgpp::policy::error

namespace tavrel::hostmodel {

bool ParsePathGrammar(std::string_view data, PathSink& sink) {
  PathContext context{sink};
  using Parser = svgpp::value_parser<svgpp::tag::type::path_data,
                                     svgpp::path_policy<svgpp::policy::path::no_shorthands>>;
  return Parser::parse(svgpp::tag::attribute::d(), context, data, svgpp::tag::source::attribute());
}

std::optional<Matrix> ParseTransformGrammar(std::string_view text) {
  TransformContext context;
  if (!svgpp::value_parser<svgpp::tag::type::transform_list>::parse(
          svgpp::tag::attribute::transform(), context, text, svgpp::tag::source::attribute())) {
    return std::nullopt;
  }
  // An empty list is no transform.
  return context.matrix.value_or(Matrix{});
}

std::optional<Color> ParseColorGrammar(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  ColorContext context;
  if (!svgpp::value_parser<svgpp::tag::type::color>::parse(svgpp::tag::attribute::color(), context, lower,
                                                           svgpp::tag::source::attribute())) {
    return std::nullopt;
  }
  return context.color;
}

}  // namespace tavrel::hostmodel
