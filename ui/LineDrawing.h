#pragma once
// What a picture box draws on itself, the same on every backend: lines given in the user's
// coordinates (set by the box's corners), kept in logical pixels until the next Clear, and the
// area each change leaves to repaint.

#include "ui/Color.h"

#include <vector>

namespace ui {

class LineDrawing {
public:
    struct Point {
        double x, y; // logical pixels
    };
    struct Line {
        Point from, to;
        Color color;
        int width; // logical pixels, at least one
    };
    // Whole pixels, the right and bottom edges outside.
    struct Area {
        int left = 0, top = 0, right = 0, bottom = 0;
        bool Empty() const { return right <= left || bottom <= top; }
    };

    // The user coordinates of the box's top-left and bottom-right corners.
    void SetScale(double x1, double y1, double x2, double y2);
    void SetPenWidth(int pixels) { penWidth_ = pixels; }
    int PenWidth() const { return penWidth_; }

    // A line between two points in user coordinates, on a box of that many logical pixels; the
    // line as it is kept.
    const Line& Add(double x1, double y1, double x2, double y2, Color color, double boxWidth,
                    double boxHeight);
    // Every line forgotten; what they covered, in logical pixels.
    Area Clear();
    const std::vector<Line>& Lines() const { return lines_; }

    // What a line covers, round caps included, in pixels of that many per logical pixel.
    static Area Around(const Line& line, double scale = 1);

private:
    Point ToLogical(double x, double y, double boxWidth, double boxHeight) const;

    double left_ = 0, top_ = 0, width_ = 0, height_ = 0; // a width or height of 0: twips
    int penWidth_ = 1;
    std::vector<Line> lines_;
};

} // namespace ui
