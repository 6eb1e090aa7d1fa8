#pragma once

#include "platform/ui/Twips.h"

#include <QColor>
#include <QList>
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

    // True while a mouse press is being handled (the current cell moves under the mouse).
    bool isClicking() const { return m_clicking; }

    // Redrawing switched off while many cells are written.
    void setRedraw(bool redraw);

    // A sortable grid sorts its data rows when the user clicks a column heading (a second
    // click on the same heading reverses the order) and keeps that order whenever it is bound
    // again. Fixed columns are not sorted on. SortCol() is -1 while the rows keep the order
    // they were bound in.
    void setSortable(bool sortable);
    bool isSortable() const { return m_sortable; }
    void sortBy(int col, Qt::SortOrder order);
    int SortCol() const { return m_sortCol; }
    Qt::SortOrder SortOrder() const { return m_sortOrder; }

    // A text shown across the grid in place of its rows (for example when a query found
    // nothing); empty shows the rows.
    void setNotice(const QString &text);
    QString Notice() const { return m_notice; }

    // The column that takes the width the other columns leave (-1: none).
    void setStretchCol(int col);

    // Widths the user dragged the columns to, in pixels (-1: not dragged). They stay while
    // the forms set widths and bind again, except for columns the forms hide.
    QList<int> userColWidths() const;
    void setUserColWidths(const QList<int> &pixels);

Q_SIGNALS:
    void rowColChange(); // the current cell moved
    void enterCell(); // a cell became current
    void cellClicked(); // mouse click on a data cell (after the current cell moved)
    void bound(); // filled from a result, or unbound
    void dblClick(); // double click on a data cell or on a fixed cell beside a data row
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
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void moveTo(int row, int col);
    void ensureCurrent();
    void applyColumnLayout();
    void applyColWidth(int col);
    void updateDefaultColors();
    bool isDataIndex(const QModelIndex &index) const;
    bool isRowHeaderIndex(const QModelIndex &index) const;
    void headingClicked(int col);
    void applySort(int col, Qt::SortOrder order, bool keepCurrent);
    void applyStretch();
    int baseWidth(int col) const; // pixels before stretching

    FlexGridModel *m_model;
    QString m_formatString;
    // True while the grid moves the current cell itself (binding, reshaping): no events then.
    bool m_emitting = false;
    // Widths set by the forms, in twips (-1: the default width); kept across binding.
    std::vector<int> m_colTwips;
    std::vector<int> m_userWidths; // pixels the user dragged each column to; -1: not dragged
    bool m_sortable = false;
    int m_sortCol = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    QString m_notice;
    int m_stretchCol = -1;
    bool m_sizing = false;
    bool m_clicking = false; // the grid sets widths itself: not a drag
};

} // namespace ui
