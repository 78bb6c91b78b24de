#include "editor/skin/CZelGrid.h"

#include <algorithm>
#include <cmath>

class CZelGridPrivate
{
public:
    int rows = 1;
    int columns = 1;
    int orientation = CZelGrid::RowMajor;
    int width = 1;
    int height = 1;
};

CZelGrid::CZelGrid() : d(std::make_unique<CZelGridPrivate>()) {}
CZelGrid::CZelGrid(const CZelGrid &other) : d(std::make_unique<CZelGridPrivate>(*other.d)) {}
CZelGrid &CZelGrid::operator=(const CZelGrid &other)
{
    *d = *other.d;
    return *this;
}
CZelGrid::~CZelGrid() = default;

int CZelGrid::rows() const { return d->rows; }
int CZelGrid::columns() const { return d->columns; }
int CZelGrid::orientation() const { return d->orientation; }
int CZelGrid::width() const { return d->width; }
int CZelGrid::height() const { return d->height; }
int CZelGrid::count() const { return d->rows * d->columns; }

void CZelGrid::setRowsAndColumns(int rows, int columns)
{
    d->rows = std::max(1, rows);
    d->columns = std::max(1, columns);
}

void CZelGrid::setOrientation(int orientation) { d->orientation = orientation == ColumnMajor ? ColumnMajor : RowMajor; }

void CZelGrid::setSize(int width, int height)
{
    d->width = std::max(1, width);
    d->height = std::max(1, height);
}

QRect CZelGrid::cell(int row, int column) const
{
    const int cellWidth = d->width / d->columns;
    const int cellHeight = d->height / d->rows;
    return QRect(column * cellWidth, row * cellHeight, cellWidth, cellHeight);
}

QRect CZelGrid::cell(int index) const
{
    if (index < 0 || index >= count())
        return {};
    if (d->orientation == ColumnMajor)
        return cell(index % d->rows, index / d->rows);
    return cell(index / d->columns, index % d->columns);
}

QRect CZelGrid::frame(int row, double position) const
{
    const double clamped = std::clamp(position, 0.0, 1.0);
    const int column = int(std::floor((d->columns - 1) * clamped + 0.5));
    return cell(row, column);
}
