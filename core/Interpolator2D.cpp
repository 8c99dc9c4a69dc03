#include "core/Interpolator2D.h"

namespace tavi {
namespace {

enum class Interval { Closed, HalfOpen };

// NaN goes to the minimum; works for any pair of bounds, even a decreasing axis.
float clampToAxis(float value, float minimum, float maximum) {
    if (!(value > minimum)) {
        return minimum;
    }
    return value > maximum ? maximum : value;
}

// The first i from 1 to count - 2 whose interval [axis(i), axis(i + 1)] (or [axis(i),
// axis(i + 1)) when half-open) holds the value; 1 when none does.
template <typename Axis>
int32_t findInterval(Axis axis, int32_t count, float value, Interval interval) {
    for (int32_t i = 1; i <= count - 2; ++i) {
        const bool belowEnd =
            interval == Interval::Closed ? value <= axis(i + 1) : value < axis(i + 1);
        if (axis(i) <= value && belowEnd) {
            return i;
        }
    }
    return 1;
}

// Two equal axis values make an empty interval: the point counts as its start.
float fraction(float value, float start, float end) {
    const float span = end - start;
    return span == 0.0f ? 0.0f : (value - start) / span;
}

} // namespace

Interpolator2D::Interpolator2D(float* values, int32_t rowCount, int32_t columnCount) {
    setTable(values, rowCount, columnCount);
}

void Interpolator2D::setTable(float* values, int32_t rowCount, int32_t columnCount) {
    table = values;
    rows = rowCount;
    columns = columnCount;
    if (!hasCells()) {
        xMaximum = xMinimum = yMaximum = yMinimum = 0.0f;
        return;
    }
    xMinimum = axisX(1);
    xMaximum = axisX(columns - 1);
    yMinimum = axisY(1);
    yMaximum = axisY(rows - 1);
}

float Interpolator2D::lookup(float x, float y) const {
    if (!hasCells()) {
        return 0.0f;
    }
    x = clampToAxis(x, xMinimum, xMaximum);
    y = clampToAxis(y, yMinimum, yMaximum);
    const int32_t column =
        findInterval([this](int32_t i) { return axisX(i); }, columns, x, Interval::Closed);
    const int32_t row =
        findInterval([this](int32_t j) { return axisY(j); }, rows, y, Interval::Closed);
    const float a = interpolateAlongRow(column, row, x);
    if (rows < 3) {
        return a;
    }
    const float b = interpolateAlongRow(column, row + 1, x);
    return a + (b - a) * fraction(y, axisY(row), axisY(row + 1));
}

void Interpolator2D::store(float x, float y, float value) {
    if (!hasCells()) {
        return;
    }
    x = clampToAxis(x, xMinimum, xMaximum);
    y = clampToAxis(y, yMinimum, yMaximum);
    const int32_t column = x == xMaximum ? columns - 1
                                         : findInterval([this](int32_t i) { return axisX(i); },
                                                        columns, x, Interval::HalfOpen);
    const int32_t row = y == yMaximum ? rows - 1
                                      : findInterval([this](int32_t j) { return axisY(j); }, rows,
                                                     y, Interval::HalfOpen);
    table[offset(column, row)] = value;
}

bool Interpolator2D::hasCells() const {
    return table != nullptr && rows >= 2 && columns >= 2;
}

float Interpolator2D::axisX(int32_t column) const {
    return table[offset(column, 0)];
}

float Interpolator2D::axisY(int32_t row) const {
    return table[offset(0, row)];
}

float Interpolator2D::cell(int32_t column, int32_t row) const {
    return table[offset(column, row)];
}

std::ptrdiff_t Interpolator2D::offset(int32_t column, int32_t row) const {
    return static_cast<std::ptrdiff_t>(row) * columns + column;
}

// At the x maximum the last column is taken as it stands, without a fraction.
float Interpolator2D::interpolateAlongRow(int32_t column, int32_t row, float x) const {
    if (columns < 3) {
        return cell(column, row);
    }
    if (x == xMaximum) {
        return cell(column + 1, row);
    }
    const float start = cell(column, row);
    return start + (cell(column + 1, row) - start) * fraction(x, axisX(column), axisX(column + 1));
}

} // namespace tavi
