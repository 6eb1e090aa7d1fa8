#include "platform/ui/FlexGridModel.h"

#include "platform/format/Format.h"

#include <QDateTime>
#include <algorithm>

namespace ui {

namespace {

bool isNumberType(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

bool isDateType(const QVariant &value)
{
    const int type = value.typeId();
    return type == QMetaType::QDateTime || type == QMetaType::QDate || type == QMetaType::QTime;
}

bool isBlank(const QVariant &value)
{
    return value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isEmpty());
}

// The order of two cells of one column: <0, 0 or >0.
int compareCells(const QVariant &a, const QVariant &b)
{
    const bool blankA = isBlank(a);
    const bool blankB = isBlank(b);
    if (blankA || blankB)
        return (blankA ? 0 : 1) - (blankB ? 0 : 1);
    if (isDateType(a) && isDateType(b)) {
        const QDateTime da = a.toDateTime();
        const QDateTime db = b.toDateTime();
        return da < db ? -1 : (db < da ? 1 : 0);
    }
    const QString ta = a.typeId() == QMetaType::QString ? a.toString() : format::variantText(a);
    const QString tb = b.typeId() == QMetaType::QString ? b.toString() : format::variantText(b);
    const bool numA = isNumberType(a) || format::isNumeric(ta);
    const bool numB = isNumberType(b) || format::isNumeric(tb);
    if (numA && numB) {
        const double va = isNumberType(a) ? a.toDouble() : format::numericValue(ta);
        const double vb = isNumberType(b) ? b.toDouble() : format::numericValue(tb);
        if (va != vb)
            return va < vb ? -1 : 1;
    }
    const int byText = QString::compare(ta, tb, Qt::CaseInsensitive);
    return byText != 0 ? byText : QString::compare(ta, tb, Qt::CaseSensitive);
}

} // namespace

FlexGridModel::FlexGridModel(QObject *parent)
    : QAbstractTableModel(parent)
{
    m_cells.resize(static_cast<size_t>(m_rows) * static_cast<size_t>(m_cols));
    m_colAlignment.resize(static_cast<size_t>(m_cols));
}

void FlexGridModel::reshape(int rows, int cols)
{
    if (cols == m_cols) {
        m_cells.resize(static_cast<size_t>(rows) * static_cast<size_t>(cols));
    } else {
        std::vector<QVariant> cells(static_cast<size_t>(rows) * static_cast<size_t>(cols));
        const int keepRows = std::min(rows, m_rows);
        const int keepCols = std::min(cols, m_cols);
        for (int r = 0; r < keepRows; ++r) {
            for (int c = 0; c < keepCols; ++c)
                cells[static_cast<size_t>(r) * static_cast<size_t>(cols) + static_cast<size_t>(c)]
                    = std::move(cell(r, c));
        }
        m_cells.swap(cells);
    }
    m_rows = rows;
    m_cols = cols;
    m_colAlignment.resize(static_cast<size_t>(cols));
}

void FlexGridModel::dropOutside(int rows, int cols)
{
    // Colours and pictures of cells that no longer exist must not come back when the grid
    // grows again.
    auto drop = [rows, cols](auto &hash) {
        for (auto it = hash.begin(); it != hash.end();) {
            if (keyRow(it.key()) >= rows || keyCol(it.key()) >= cols)
                it = hash.erase(it);
            else
                ++it;
        }
    };
    drop(m_backColors);
    drop(m_foreColors);
    drop(m_pictures);
}

void FlexGridModel::setShape(int rows, int cols)
{
    rows = std::max(rows, m_fixedRows);
    cols = std::max(cols, m_fixedCols);
    if (cols > m_cols) {
        beginInsertColumns(QModelIndex(), m_cols, cols - 1);
        reshape(m_rows, cols);
        endInsertColumns();
    } else if (cols < m_cols) {
        beginRemoveColumns(QModelIndex(), cols, m_cols - 1);
        reshape(m_rows, cols);
        dropOutside(m_rows, cols);
        endRemoveColumns();
    }
    const int header = headerRows();
    if (rows > m_rows) {
        beginInsertRows(QModelIndex(), m_rows - header, rows - header - 1);
        reshape(rows, m_cols);
        endInsertRows();
    } else if (rows < m_rows) {
        beginRemoveRows(QModelIndex(), rows - header, m_rows - header - 1);
        reshape(rows, m_cols);
        dropOutside(rows, m_cols);
        endRemoveRows();
    }
}

void FlexGridModel::setFixed(int fixedRows, int fixedCols)
{
    fixedRows = std::max(fixedRows, 0);
    fixedCols = std::max(fixedCols, 0);
    if (fixedRows == m_fixedRows && fixedCols == m_fixedCols)
        return;
    beginResetModel();
    m_fixedRows = fixedRows;
    m_fixedCols = fixedCols;
    reshape(std::max(m_rows, fixedRows), std::max(m_cols, fixedCols));
    endResetModel();
}

QString FlexGridModel::text(int row, int col) const
{
    if (!contains(row, col))
        return QString();
    const QVariant &value = cell(row, col);
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    return format::variantText(value);
}

void FlexGridModel::setText(int row, int col, const QString &text)
{
    if (!contains(row, col))
        return;
    cell(row, col) = QVariant(text);
    cellChanged(row, col);
}

void FlexGridModel::bind(const QStringList &fields, const std::vector<Row> &records)
{
    beginResetModel();
    const int fieldCount = static_cast<int>(fields.size());
    const int dataRows = std::max(static_cast<int>(records.size()), 1);
    m_rows = dataRows + m_fixedRows;
    m_cols = fieldCount + m_fixedCols;
    m_colAlignment.resize(static_cast<size_t>(m_cols));
    m_backColors.clear();
    m_foreColors.clear();
    m_pictures.clear();

    // The previous result goes first, so that two large results are never held at once.
    std::vector<QVariant>().swap(m_cells);
    // Filled in row-major order so that the large array is written once, front to back.
    std::vector<QVariant> cells;
    cells.reserve(static_cast<size_t>(m_rows) * static_cast<size_t>(m_cols));
    for (int r = 0; r < m_fixedRows; ++r) {
        for (int c = 0; c < m_fixedCols; ++c)
            cells.emplace_back();
        for (int f = 0; f < fieldCount; ++f)
            cells.emplace_back(r == 0 ? QVariant(fields.at(f)) : QVariant());
    }
    for (const Row &record : records) {
        for (int c = 0; c < m_fixedCols; ++c)
            cells.emplace_back();
        const int present = std::min(fieldCount, static_cast<int>(record.size()));
        for (int f = 0; f < present; ++f)
            cells.push_back(record[static_cast<size_t>(f)]);
        for (int f = present; f < fieldCount; ++f)
            cells.emplace_back();
    }
    cells.resize(static_cast<size_t>(m_rows) * static_cast<size_t>(m_cols));
    m_cells.swap(cells);
    endResetModel();
}

void FlexGridModel::clearCells()
{
    std::fill(m_cells.begin(), m_cells.end(), QVariant());
    m_backColors.clear();
    m_foreColors.clear();
    m_pictures.clear();
    m_dirty = true;
    if (!m_batching)
        setBatching(false);
}

std::vector<int> FlexGridModel::sortRows(int col, Qt::SortOrder order)
{
    std::vector<int> from;
    for (int row = m_fixedRows; row < m_rows; ++row)
        from.push_back(row);
    if (col < 0 || col >= m_cols || from.size() < 2)
        return from;
    std::stable_sort(from.begin(), from.end(), [this, col, order](int a, int b) {
        const int c = compareCells(cell(a, col), cell(b, col));
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });

    beginResetModel();
    std::vector<int> to(static_cast<size_t>(m_rows));
    for (int row = 0; row < m_fixedRows; ++row)
        to[static_cast<size_t>(row)] = row;
    std::vector<QVariant> cells(m_cells.size());
    for (int row = 0; row < m_rows; ++row) {
        const int old = row < m_fixedRows ? row : from[static_cast<size_t>(row - m_fixedRows)];
        to[static_cast<size_t>(old)] = row;
        for (int c = 0; c < m_cols; ++c)
            cells[static_cast<size_t>(row) * static_cast<size_t>(m_cols) + static_cast<size_t>(c)]
                = std::move(cell(old, c));
    }
    m_cells.swap(cells);
    const auto move = [&to](auto &hash) {
        std::remove_reference_t<decltype(hash)> moved;
        for (auto it = hash.cbegin(); it != hash.cend(); ++it)
            moved.insert(key(to[static_cast<size_t>(keyRow(it.key()))], keyCol(it.key())),
                         it.value());
        hash.swap(moved);
    };
    move(m_backColors);
    move(m_foreColors);
    move(m_pictures);
    endResetModel();
    return from;
}

void FlexGridModel::setBackColor(int row, int col, const QColor &color)
{
    if (!contains(row, col))
        return;
    if (color.isValid())
        m_backColors.insert(key(row, col), color);
    else
        m_backColors.remove(key(row, col));
    cellChanged(row, col);
}

QColor FlexGridModel::backColor(int row, int col) const
{
    const auto it = m_backColors.constFind(key(row, col));
    if (it != m_backColors.constEnd())
        return *it;
    return isFixed(row, col) ? m_fixedBack : m_back;
}

void FlexGridModel::setForeColor(int row, int col, const QColor &color)
{
    if (!contains(row, col))
        return;
    if (color.isValid())
        m_foreColors.insert(key(row, col), color);
    else
        m_foreColors.remove(key(row, col));
    cellChanged(row, col);
}

QColor FlexGridModel::foreColor(int row, int col) const
{
    const auto it = m_foreColors.constFind(key(row, col));
    if (it != m_foreColors.constEnd())
        return *it;
    return isFixed(row, col) ? m_fixedFore : m_fore;
}

void FlexGridModel::setPicture(int row, int col, const QPixmap &picture)
{
    if (!contains(row, col))
        return;
    if (picture.isNull())
        m_pictures.remove(key(row, col));
    else
        m_pictures.insert(key(row, col), picture);
    cellChanged(row, col);
}

void FlexGridModel::setColAlignment(int col, Qt::Alignment alignment)
{
    if (col < 0 || col >= m_cols)
        return;
    m_colAlignment[static_cast<size_t>(col)] = alignment;
    if (m_batching) {
        m_dirty = true;
        return;
    }
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, col), index(rowCount() - 1, col), {Qt::TextAlignmentRole});
    Q_EMIT headerDataChanged(Qt::Horizontal, col, col);
}

Qt::Alignment FlexGridModel::colAlignment(int col) const
{
    if (col < 0 || col >= m_cols)
        return {};
    return m_colAlignment[static_cast<size_t>(col)];
}

void FlexGridModel::setDefaultColors(const QColor &fixedBack, const QColor &fixedFore,
                                     const QColor &back, const QColor &fore)
{
    m_fixedBack = fixedBack;
    m_fixedFore = fixedFore;
    m_back = back;
    m_fore = fore;
}

void FlexGridModel::setBatching(bool batching)
{
    m_batching = batching;
    if (batching || !m_dirty)
        return;
    m_dirty = false;
    if (rowCount() > 0 && m_cols > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, m_cols - 1));
    if (m_cols > 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, m_cols - 1);
}

void FlexGridModel::cellChanged(int row, int col)
{
    if (m_batching) {
        m_dirty = true;
        return;
    }
    if (row < headerRows()) {
        Q_EMIT headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    const QModelIndex changed = cellIndex(row, col);
    Q_EMIT dataChanged(changed, changed);
}

QModelIndex FlexGridModel::cellIndex(int row, int col) const
{
    if (!contains(row, col) || row < headerRows())
        return QModelIndex();
    return index(row - headerRows(), col);
}

int FlexGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows - headerRows();
}

int FlexGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

Qt::Alignment FlexGridModel::cellAlignment(int row, int col) const
{
    const Qt::Alignment set = colAlignment(col);
    if (set & Qt::AlignHorizontal_Mask)
        return (set & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
    if (isFixed(row, col))
        return Qt::AlignLeft | Qt::AlignVCenter;
    const QVariant &value = cell(row, col);
    const bool number = isNumberType(value)
        || (value.typeId() == QMetaType::QString && format::isNumeric(value.toString()));
    return (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

QVariant FlexGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const int row = gridRow(index);
    const int col = index.column();
    if (!contains(row, col))
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return text(row, col);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(cellAlignment(row, col));
    case Qt::BackgroundRole: {
        const auto it = m_backColors.constFind(key(row, col));
        if (it != m_backColors.constEnd())
            return *it;
        return isFixed(row, col) ? QVariant(m_fixedBack) : QVariant();
    }
    case Qt::ForegroundRole: {
        const auto it = m_foreColors.constFind(key(row, col));
        if (it != m_foreColors.constEnd())
            return *it;
        return isFixed(row, col) ? QVariant(m_fixedFore) : QVariant();
    }
    case Qt::DecorationRole: {
        const auto it = m_pictures.constFind(key(row, col));
        return it != m_pictures.constEnd() ? QVariant(*it) : QVariant();
    }
    default:
        return QVariant();
    }
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || headerRows() == 0 || section < 0 || section >= m_cols)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return text(0, section);
    case Qt::TextAlignmentRole: {
        const Qt::Alignment set = colAlignment(section) & Qt::AlignHorizontal_Mask;
        return QVariant::fromValue((set ? set : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    default:
        return QVariant();
    }
}

Qt::ItemFlags FlexGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Fixed cells can be neither selected nor made current.
    if (isFixed(gridRow(index), index.column()))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace ui
