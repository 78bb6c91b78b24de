#pragma once

#include <QRect>

#include <memory>

class CZelGridPrivate;

// The cells of a composite bitmap: a table of rows and columns laid over a
// bitmap of a given size, or the frames of a film strip.
class CZelGrid
{
public:
    enum Orientation { RowMajor = 0, ColumnMajor = 1 };

    CZelGrid();
    CZelGrid(const CZelGrid &other);
    CZelGrid &operator=(const CZelGrid &other);
    virtual ~CZelGrid();

    int rows() const;
    int columns() const;
    int orientation() const;
    int width() const;
    int height() const;
    int count() const;

    void setRowsAndColumns(int rows, int columns); // values below 1 become 1
    void setOrientation(int orientation);
    void setSize(int width, int height); // values below 1 become 1

    QRect cell(int row, int column) const;
    QRect cell(int index) const;                 // null outside 0..count-1
    QRect frame(int row, double position) const; // film strip: frame round((columns-1) * position)

private:
    std::unique_ptr<CZelGridPrivate> d;
};
