#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QPixmap>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace ui {

// The cells of a FlexGrid, addressed in grid coordinates (row 0 is the header row).
//
// Every cell, fixed ones included, is one QVariant in a row-major array: a bound result keeps
// its values as fetched and they are turned into text only when a cell is shown or read, so
// binding a large result costs one copy and no conversion. A written cell holds its QString.
//
// The view sees grid row 0 as its horizontal header when there are fixed rows; the model's
// rows are then grid rows 1 .. Rows - 1.
class FlexGridModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    using Row = std::vector<QVariant>;

    explicit FlexGridModel(QObject *parent = nullptr);

    int gridRows() const { return m_rows; }
    int gridCols() const { return m_cols; }
    int fixedRows() const { return m_fixedRows; }
    int fixedCols() const { return m_fixedCols; }
    // Grid rows shown as the view's header (0 or 1).
    int headerRows() const { return m_fixedRows > 0 ? 1 : 0; }

    // Changes the shape, keeping the cells that remain. Rows and columns never go below the
    // fixed ones.
    void setShape(int rows, int cols);
    // Changes the fixed rows and columns, growing the shape when needed.
    void setFixed(int fixedRows, int fixedCols);

    bool contains(int row, int col) const
    {
        return row >= 0 && row < m_rows && col >= 0 && col < m_cols;
    }
    bool isFixed(int row, int col) const { return row < m_fixedRows || col < m_fixedCols; }

    QString text(int row, int col) const;
    void setText(int row, int col, const QString &text);

    // Replaces every cell with the result: field names in row 0, records from the first data
    // row and the first data column on; at least one data row.
    void bind(const QStringList &fields, const std::vector<Row> &records);
    // Empties every text, colour and picture; keeps the shape.
    void clearCells();

    // Puts the data rows in the order of one column's values (numbers and dates by value,
    // texts ignoring letter case, empty cells first when ascending); rows with equal values keep
    // their order. Colours and pictures move with their rows. Returns, for each data row, the
    // grid row it held before.
    std::vector<int> sortRows(int col, Qt::SortOrder order);

    void setBackColor(int row, int col, const QColor &color);
    QColor backColor(int row, int col) const; // the colour shown
    void setForeColor(int row, int col, const QColor &color);
    QColor foreColor(int row, int col) const;
    void setPicture(int row, int col, const QPixmap &picture);

    // Column alignment; an empty alignment is the general one: text left, numbers right.
    void setColAlignment(int col, Qt::Alignment alignment);
    Qt::Alignment colAlignment(int col) const;

    // Colours of fixed cells and of cells without a colour of their own.
    void setDefaultColors(const QColor &fixedBack, const QColor &fixedFore, const QColor &back,
                          const QColor &fore);

    // While batching, written cells announce no change; ending the batch announces one change
    // for the whole grid.
    void setBatching(bool batching);

    QModelIndex cellIndex(int row, int col) const;
    int gridRow(const QModelIndex &index) const { return index.row() + headerRows(); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    static quint64 key(int row, int col)
    {
        return (static_cast<quint64>(static_cast<quint32>(row)) << 32) | static_cast<quint32>(col);
    }
    static int keyRow(quint64 k) { return static_cast<int>(k >> 32); }
    static int keyCol(quint64 k) { return static_cast<int>(k & 0xffffffffu); }

    const QVariant &cell(int row, int col) const
    {
        return m_cells[static_cast<size_t>(row) * static_cast<size_t>(m_cols)
                       + static_cast<size_t>(col)];
    }
    QVariant &cell(int row, int col)
    {
        return m_cells[static_cast<size_t>(row) * static_cast<size_t>(m_cols)
                       + static_cast<size_t>(col)];
    }
    Qt::Alignment cellAlignment(int row, int col) const;
    void reshape(int rows, int cols);
    void dropOutside(int rows, int cols);
    void cellChanged(int row, int col);

    std::vector<QVariant> m_cells;
    int m_rows = 2;
    int m_cols = 2;
    int m_fixedRows = 1;
    int m_fixedCols = 0;
    std::vector<Qt::Alignment> m_colAlignment;
    QHash<quint64, QColor> m_backColors;
    QHash<quint64, QColor> m_foreColors;
    QHash<quint64, QPixmap> m_pictures;
    QColor m_fixedBack;
    QColor m_fixedFore;
    QColor m_back;
    QColor m_fore;
    bool m_batching = false;
    bool m_dirty = false;
};

} // namespace ui
