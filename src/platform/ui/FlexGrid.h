#pragma once

#include "platform/ui/Twips.h"

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QTableView>
#include <memory>
#include <vector>

namespace db {
class Recordset;
}

namespace ui {

class FlexGridModel;

// The one grid of the program: a table view with the flex-grid vocabulary the forms use.
// Rows and columns count the fixed (header) rows and columns: a grid with one header row and one
// data row has Rows() == 2. TextMatrix(r, c) addresses every cell, fixed ones included.
// Row 0 shows as the column headers when there is a fixed row; fixed columns are grey and can
// never become current. A new grid has 2 rows, 2 columns, 1 fixed row and no fixed column.
// Cells outside the grid read as "" and ignore writes. The user cannot edit cells: forms write
// them with setTextMatrix.
class FlexGrid : public QTableView
{
    Q_OBJECT

public:
    explicit FlexGrid(QWidget *parent = nullptr);
    ~FlexGrid() override;

    int Rows() const;
    void setRows(int rows); // keeps the texts of the rows that remain
    int Cols() const;
    void setCols(int cols);
    int FixedRows() const;
    void setFixedRows(int rows);
    int FixedCols() const;
    void setFixedCols(int cols);

    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &text);

    // The current cell (data cells only; setting it scrolls it into view and emits rowColChange).
    int Row() const;
    void setRow(int row);
    int Col() const;
    void setCol(int col);
    // The first data row shown at the top of the view.
    int TopRow() const;
    void setTopRow(int row);

    // Column headers and alignment from a format string: segments separated by "|", one per
    // column from column 0; a leading "<", ">" or "^" aligns the column left, right or centre;
    // the segment's text (trimmed of the mark) is the header, its length (blanks included)
    // sets the column's width. Sets Cols() to the number of segments when it is larger.
    void setFormatString(const QString &format);
    QString FormatString() const;

    // Widths in twips (15 twips per pixel); 0 hides the column.
    void setColWidth(int col, int twips);
    int ColWidth(int col) const;
    void setColAlignment(int col, Qt::Alignment alignment);

    // Binds a fetched result: one data row per record (Rows() = records + FixedRows()), the
    // fields in columns FixedCols() onward, field names as headers in row 0. An empty result
    // leaves only the fixed rows and one empty data row.
    void bind(const db::Recordset &records);
    // Unbinds and clears: keeps the shape (Rows, Cols), empties every text.
    void unbind();
    void Clear(); // empties every cell's text and back colour, keeps Rows and Cols

    void setCellBackColor(int row, int col, const QColor &color);
    QColor CellBackColor(int row, int col) const;
    void setCellForeColor(int row, int col, const QColor &color);
    QColor CellForeColor(int row, int col) const;
    // A picture shown in the cell beside its text; a null picture removes it.
    void setCellPicture(int row, int col, const QPixmap &picture);
    Qt::Alignment ColAlignment(int col) const; // empty: general (text left, numbers right)

    // The cell's rectangle in the grid's own pixel coordinates (for laying an editor over it);
    // empty when the cell is hidden or scrolled out of view.
    QRect cellGeometry(int row, int col) const;

    // Redrawing switched off while many cells are written.
    void setRedraw(bool redraw);

Q_SIGNALS:
    void rowColChange(); // the current cell moved
    void enterCell(); // a cell became current
    void cellClicked(); // mouse click on a data cell (after the current cell moved)
    void dblClick(); // double click on a data cell
    // A key pressed in the grid (Qt::Key_… codes), before the grid's own handling; setting
    // *handled stops it. Enter and Return are never passed on to the window.
    void keyPressed(int key, Qt::KeyboardModifiers modifiers, bool *handled);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void changeEvent(QEvent *event) override;

private:
    void moveTo(int row, int col);
    void ensureCurrent();
    void applyColumnLayout();
    void applyColWidth(int col);
    void updateDefaultColors();
    bool isDataIndex(const QModelIndex &index) const;

    FlexGridModel *m_model;
    QString m_formatString;
    // True while the grid moves the current cell itself (binding, reshaping): no events then.
    bool m_emitting = false;
    // Widths set by the forms, in twips (-1: the default width); kept across binding.
    std::vector<int> m_colTwips;
};

} // namespace ui
