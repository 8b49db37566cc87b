#include "tools/host/svg/SvgPath.h"

#include <cctype>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace tavrel::hostmodel {
namespace {

class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  void SkipSeparators() {
    while (pos_ < text_.size() &&
           (std::isspace(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == ',')) {
      ++pos_;
    }
  }
  bool AtEnd() {
    SkipSeparators();
    return pos_ >= text_.size();
  }
  bool AtNumber() {
    SkipSeparators();
    if (pos_ >= text_.size()) return false;
    const char c = text_[pos_];
    return std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.';
  }
  char Command() {
    SkipSeparators();
    return text_[pos_++];
  }
  double Number() {
    if (!AtNumber()) throw std::runtime_error("a number is missing in \"" + std::string(text_) + "\"");
    const std::string rest(text_.substr(pos_, 64));
    char* end = nullptr;
    const double value = std::strtod(rest.c_str(), &end);
    if (end == rest.c_str()) throw std::runtime_error("bad number in \"" + std::string(text_) + "\"");
    pos_ += static_cast<std::size_t>(end - rest.c_str());
    return value;
  }
  Point PointAt(Point origin) {
    const double x = Number();
    const double y = Number();
    return {origin.x + x, origin.y + y};
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

Point Lerp(Point a, Point b, double t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

class PathBuilder {
 public:
  void MoveTo(Point p) {
    Flush();
    current_ = {p, {}, false};
    open_ = true;
    pen_ = p;
  }
  void LineTo(Point p) {
    Ensure();
    current_.segments.push_back({false, {}, {}, p});
    pen_ = p;
  }
  void CubicTo(Point c1, Point c2, Point p) {
    Ensure();
    current_.segments.push_back({true, c1, c2, p});
    pen_ = p;
  }
  void QuadTo(Point c, Point p) { CubicTo(Lerp(pen_, c, 2.0 / 3), Lerp(p, c, 2.0 / 3), p); }
  void Close() {
    if (!open_) return;
    current_.closed = true;
    pen_ = current_.start;
    const Point start = current_.start;
    Flush();
    // A command after Z starts from the figure's start.
    current_ = {start, {}, false};
    open_ = true;
    pending_ = true;
  }
  Point Pen() const { return pen_; }
  std::vector<Figure> Finish() {
    Flush();
    return std::move(figures_);
  }

 private:
  void Ensure() {
    if (!open_) throw std::runtime_error("path data must begin with M");
    pending_ = false;
  }
  void Flush() {
    if (open_ && !pending_ && !current_.segments.empty()) figures_.push_back(current_);
    open_ = false;
    pending_ = false;
  }
  std::vector<Figure> figures_;
  Figure current_;
  Point pen_;
  bool open_ = false;
  bool pending_ = false;
};

}  // namespace

std::vector<Figure> ParsePathData(std::string_view data) {
  Scanner in(data);
  PathBuilder path;
  char command = 0;
  while (!in.AtEnd()) {
    if (!in.AtNumber()) {
      command = in.Command();
    } else if (command == 0 || command == 'Z' || command == 'z') {
      throw std::runtime_error("a number without a command in \"" + std::string(data) + "\"");
    }
    const bool relative = std::islower(static_cast<unsigned char>(command)) != 0;
    const Point origin = relative ? path.Pen() : Point{};
    switch (std::toupper(static_cast<unsigned char>(command))) {
      case 'M':
        path.MoveTo(in.PointAt(origin));
        command = relative ? 'l' : 'L';  // further pairs are lines
        break;
      case 'L':
        path.LineTo(in.PointAt(origin));
        break;
      case 'H':
        path.LineTo({origin.x + in.Number(), path.Pen().y});
        break;
      case 'V':
        path.LineTo({path.Pen().x, (relative ? path.Pen().y : 0) + in.Number()});
        break;
      case 'C': {
        const Point c1 = in.PointAt(origin);
        const Point c2 = in.PointAt(origin);
        path.CubicTo(c1, c2, in.PointAt(origin));
        break;
      }
      case 'Q': {
        const Point c = in.PointAt(origin);
        path.QuadTo(c, in.PointAt(origin));
        break;
      }
      case 'Z':
        path.Close();
        break;
      default:
        throw std::runtime_error(std::string("unsupported path command '") + command + "'");
    }
  }
  return path.Finish();
}

std::vector<double> ParseNumbers(std::string_view data) {
  Scanner in(data);
  std::vector<double> numbers;
  while (!in.AtEnd()) numbers.push_back(in.Number());
  return numbers;
}

std::vector<Point> ParsePoints(std::string_view data) {
  const std::vector<double> n = ParseNumbers(data);
  if (n.size() % 2 != 0)
    throw std::runtime_error("odd number of coordinates in \"" + std::string(data) + "\"");
  std::vector<Point> points;
  for (std::size_t i = 0; i < n.size(); i += 2) points.push_back({n[i], n[i + 1]});
  return points;
}

}  // namespace tavrel::hostmodel
