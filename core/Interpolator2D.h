#pragma once

#include <cstddef>
#include <cstdint>

namespace tavi {

// Bilinear lookup in a table it does not own. The table is rows x columns floats in row order:
// row 0 holds the x axis in columns 1.., column 0 holds the y axis in rows 1.., the corner is
// unused, and the value for axis column i and axis row j is at row j, column i. Both axes should
// increase strictly. Coordinates are clamped into the axis range cached by setTable (a NaN
// coordinate counts as the axis minimum), so the table is never extrapolated.
//
// Other tables give a finite answer and never read outside the table:
// - two equal axis values: the interval between them counts as its start (fraction 0);
// - a single value on an axis: no interpolation along it (one value on both gives the one cell);
// - no table, or no value cells (rows or columns below 2): lookup gives 0, store does nothing.
class Interpolator2D {
public:
    float* table = nullptr;
    int32_t rows = 0;
    int32_t columns = 0;
    float xMaximum = 0.0f;
    float xMinimum = 0.0f;
    float yMaximum = 0.0f;
    float yMinimum = 0.0f;

    Interpolator2D() = default;
    Interpolator2D(float* values, int32_t rowCount, int32_t columnCount);
    virtual ~Interpolator2D() = default;

    // Caches the axis bounds; a later change of the table's axes does not move them.
    void setTable(float* values, int32_t rowCount, int32_t columnCount);
    float lookup(float x, float y) const;
    // Writes the cell whose half-open interval [axis value, next axis value) holds the point;
    // at an axis maximum, the last cell.
    void store(float x, float y, float value);

private:
    bool hasCells() const;
    float axisX(int32_t column) const;
    float axisY(int32_t row) const;
    float cell(int32_t column, int32_t row) const;
    std::ptrdiff_t offset(int32_t column, int32_t row) const;
    float interpolateAlongRow(int32_t column, int32_t row, float x) const;
};

} // namespace tavi
