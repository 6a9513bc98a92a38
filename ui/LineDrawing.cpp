#include "ui/LineDrawing.h"

#include "ui/Units.h"

#include <algorithm>
#include <cmath>

namespace ui {

void LineDrawing::SetScale(double x1, double y1, double x2, double y2) {
    left_ = x1;
    top_ = y1;
    width_ = x2 - x1;
    height_ = y2 - y1;
}

LineDrawing::Point LineDrawing::ToLogical(double x, double y, double boxWidth,
                                          double boxHeight) const {
    if (width_ == 0 || height_ == 0)
        return {x / TwipsPerPixel, y / TwipsPerPixel};
    return {(x - left_) * boxWidth / width_, (y - top_) * boxHeight / height_};
}

const LineDrawing::Line& LineDrawing::Add(double x1, double y1, double x2, double y2, Color color,
                                          double boxWidth, double boxHeight) {
    lines_.push_back({ToLogical(x1, y1, boxWidth, boxHeight),
                      ToLogical(x2, y2, boxWidth, boxHeight), color, std::max(1, penWidth_)});
    return lines_.back();
}

LineDrawing::Area LineDrawing::Clear() {
    Area covered;
    for (const Line& line : lines_) {
        const Area around = Around(line);
        covered = covered.Empty()
                      ? around
                      : Area{std::min(covered.left, around.left), std::min(covered.top, around.top),
                             std::max(covered.right, around.right),
                             std::max(covered.bottom, around.bottom)};
    }
    lines_.clear();
    return covered;
}

LineDrawing::Area LineDrawing::Around(const Line& line, double scale) {
    // The pen at that scale, one pixel at the least, half of it each side, and room for rounding.
    const int pen = std::max(1, static_cast<int>(RoundHalfEven(line.width * scale)));
    const int margin = pen / 2 + 2;
    const auto low = [scale](double a, double b) {
        return static_cast<int>(std::floor(std::min(a, b) * scale));
    };
    const auto high = [scale](double a, double b) {
        return static_cast<int>(std::ceil(std::max(a, b) * scale));
    };
    return {low(line.from.x, line.to.x) - margin, low(line.from.y, line.to.y) - margin,
            high(line.from.x, line.to.x) + margin, high(line.from.y, line.to.y) + margin};
}

} // namespace ui
