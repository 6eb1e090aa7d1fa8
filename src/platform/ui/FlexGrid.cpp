#include "platform/ui/FlexGrid.h"

#include "platform/db/Recordset.h"
#include "platform/ui/FlexGridModel.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <algorithm>

namespace ui {

namespace {

// Blank space either side of a column's text, in pixels.
constexpr int cellPadding = 4;

} // namespace

FlexGrid::FlexGrid(QWidget *parent)
    : QTableView(parent)
    , m_model(new FlexGridModel(this))
{
    setModel(m_model);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + cellPadding);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the grid for the next control, as on every other control of a form.
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    updateDefaultColors();
    m_colTwips.assign(static_cast<size_t>(m_model->gridCols()), -1);
    m_userWidths.assign(static_cast<size_t>(m_model->gridCols()), -1);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &FlexGrid::headingClicked);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (m_sizing || col < 0 || col >= Cols() || size <= 0)
            return;
        m_userWidths.resize(static_cast<size_t>(Cols()), -1);
        m_userWidths[static_cast<size_t>(col)] = size;
    });

    // A reset forgets the header's sections: give the columns their widths back and put the
    // current cell on the first data cell without raising events.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyColumnLayout();
        ensureCurrent();
    });
    ensureCurrent();
}

FlexGrid::~FlexGrid() = default;

int FlexGrid::Rows() const
{
    return m_model->gridRows();
}

void FlexGrid::setRows(int rows)
{
    {
        const QScopedValueRollback<bool> quiet(m_emitting, true);
        m_model->setShape(rows, m_model->gridCols());
    }
    ensureCurrent();
}

int FlexGrid::Cols() const
{
    return m_model->gridCols();
}

void FlexGrid::setCols(int cols)
{
    {
        const QScopedValueRollback<bool> quiet(m_emitting, true);
        m_model->setShape(m_model->gridRows(), cols);
    }
    m_colTwips.resize(static_cast<size_t>(m_model->gridCols()), -1);
    m_userWidths.resize(static_cast<size_t>(m_model->gridCols()), -1);
    ensureCurrent();
}

int FlexGrid::FixedRows() const
{
    return m_model->fixedRows();
}

void FlexGrid::setFixedRows(int rows)
{
    const QScopedValueRollback<bool> quiet(m_emitting, true);
    m_model->setFixed(rows, m_model->fixedCols());
    horizontalHeader()->setVisible(m_model->headerRows() > 0);
}

int FlexGrid::FixedCols() const
{
    return m_model->fixedCols();
}

void FlexGrid::setFixedCols(int cols)
{
    const QScopedValueRollback<bool> quiet(m_emitting, true);
    m_model->setFixed(m_model->fixedRows(), cols);
}

QString FlexGrid::TextMatrix(int row, int col) const
{
    return m_model->text(row, col);
}

void FlexGrid::setTextMatrix(int row, int col, const QString &text)
{
    m_model->setText(row, col, text);
}

int FlexGrid::Row() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? m_model->gridRow(current) : m_model->fixedRows();
}

void FlexGrid::setRow(int row)
{
    moveTo(row, Col());
}

int FlexGrid::Col() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : m_model->fixedCols();
}

void FlexGrid::setCol(int col)
{
    moveTo(Row(), col);
}

void FlexGrid::moveTo(int row, int col)
{
    if (Rows() <= FixedRows() || Cols() <= FixedCols())
        return;
    row = std::clamp(row, FixedRows(), Rows() - 1);
    col = std::clamp(col, FixedCols(), Cols() - 1);
    const QModelIndex target = m_model->cellIndex(row, col);
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    scrollTo(target);
}

void FlexGrid::ensureCurrent()
{
    if (currentIndex().isValid() || Rows() <= FixedRows() || Cols() <= FixedCols())
        return;
    const QScopedValueRollback<bool> quiet(m_emitting, true);
    selectionModel()->setCurrentIndex(m_model->cellIndex(FixedRows(), FixedCols()),
                                      QItemSelectionModel::ClearAndSelect);
}

int FlexGrid::TopRow() const
{
    const int top = rowAt(0);
    if (top < 0)
        return FixedRows();
    return std::max(top + m_model->headerRows(), FixedRows());
}

void FlexGrid::setTopRow(int row)
{
    if (Rows() <= FixedRows())
        return;
    row = std::clamp(row, FixedRows(), Rows() - 1);
    // The scroll range follows the rows only once the view has laid itself out.
    updateGeometries();
    const int modelRow = row - m_model->headerRows();
    if (verticalScrollMode() == QAbstractItemView::ScrollPerItem)
        verticalScrollBar()->setValue(verticalHeader()->visualIndex(modelRow));
    else
        verticalScrollBar()->setValue(rowViewportPosition(modelRow) + verticalOffset());
}

void FlexGrid::setFormatString(const QString &format)
{
    m_formatString = format;
    const QStringList segments = format.split(QLatin1Char('|'));
    if (segments.size() > Cols())
        setCols(static_cast<int>(segments.size()));
    const int charWidth = fontMetrics().averageCharWidth();
    for (int col = 0; col < segments.size(); ++col) {
        QString segment = segments.at(col);
        Qt::Alignment alignment;
        if (!segment.isEmpty()) {
            switch (segment.front().unicode()) {
            case '<':
                alignment = Qt::AlignLeft;
                break;
            case '>':
                alignment = Qt::AlignRight;
                break;
            case '^':
                alignment = Qt::AlignHCenter;
                break;
            default:
                break;
            }
            if (alignment)
                segment.remove(0, 1);
        }
        m_model->setColAlignment(col, alignment);
        if (FixedRows() > 0)
            m_model->setText(0, col, segment.trimmed());
        // The segment's blanks widen the column as its letters do.
        const int pixels = static_cast<int>(segment.size()) * charWidth + 2 * cellPadding;
        setColWidth(col, pixelsToTwips(pixels));
    }
}

QString FlexGrid::FormatString() const
{
    return m_formatString;
}

void FlexGrid::setColWidth(int col, int twips)
{
    if (col < 0 || col >= Cols())
        return;
    m_colTwips[static_cast<size_t>(col)] = twips < 0 ? -1 : twips;
    applyColWidth(col);
}

int FlexGrid::ColWidth(int col) const
{
    if (col < 0 || col >= Cols())
        return 0;
    if (isColumnHidden(col))
        return 0;
    const int set = m_colTwips[static_cast<size_t>(col)];
    const int pixels = columnWidth(col);
    // Report the width as it was set unless the user has dragged the column since.
    if (set > 0 && std::max(1, twipsToPixels(set)) == pixels)
        return set;
    return pixelsToTwips(pixels);
}

int FlexGrid::baseWidth(int col) const
{
    const size_t c = static_cast<size_t>(col);
    if (c < m_userWidths.size() && m_userWidths[c] > 0)
        return m_userWidths[c];
    const int twips = m_colTwips[c];
    return twips < 0 ? horizontalHeader()->defaultSectionSize() : std::max(1, twipsToPixels(twips));
}

void FlexGrid::applyColWidth(int col)
{
    const QScopedValueRollback<bool> sizing(m_sizing, true);
    const int twips = m_colTwips[static_cast<size_t>(col)];
    if (twips == 0) {
        setColumnHidden(col, true);
        return;
    }
    setColumnHidden(col, false);
    setColumnWidth(col, baseWidth(col));
    if (m_stretchCol >= 0 && col != m_stretchCol)
        applyStretch();
}

void FlexGrid::applyStretch()
{
    if (m_stretchCol < 0 || m_stretchCol >= Cols() || isColumnHidden(m_stretchCol))
        return;
    const QScopedValueRollback<bool> sizing(m_sizing, true);
    int others = 0;
    for (int col = 0; col < Cols(); ++col) {
        if (col != m_stretchCol && !isColumnHidden(col))
            others += columnWidth(col);
    }
    const int room = viewport()->width() - others;
    setColumnWidth(m_stretchCol, std::max(baseWidth(m_stretchCol), room));
}

void FlexGrid::setStretchCol(int col)
{
    m_stretchCol = col;
    applyStretch();
}

QList<int> FlexGrid::userColWidths() const
{
    QList<int> widths;
    for (int width : m_userWidths)
        widths << width;
    while (!widths.isEmpty() && widths.last() < 0)
        widths.removeLast();
    return widths;
}

void FlexGrid::setUserColWidths(const QList<int> &pixels)
{
    m_userWidths.assign(static_cast<size_t>(std::max<qsizetype>(Cols(), pixels.size())), -1);
    for (qsizetype col = 0; col < pixels.size(); ++col)
        m_userWidths[static_cast<size_t>(col)] = pixels.at(col) > 0 ? pixels.at(col) : -1;
    applyColumnLayout();
}

void FlexGrid::setSortable(bool sortable)
{
    m_sortable = sortable;
    horizontalHeader()->setSectionsClickable(sortable);
    horizontalHeader()->setSortIndicatorShown(sortable && m_sortCol >= 0);
}

void FlexGrid::headingClicked(int col)
{
    if (!m_sortable || col < FixedCols() || col >= Cols())
        return;
    const Qt::SortOrder order = col == m_sortCol && m_sortOrder == Qt::AscendingOrder
        ? Qt::DescendingOrder
        : Qt::AscendingOrder;
    sortBy(col, order);
}

void FlexGrid::sortBy(int col, Qt::SortOrder order)
{
    if (col < 0 || col < FixedCols()) {
        m_sortCol = -1;
        horizontalHeader()->setSortIndicatorShown(false);
        return;
    }
    m_sortCol = col;
    m_sortOrder = order;
    horizontalHeader()->setSortIndicator(col, order);
    horizontalHeader()->setSortIndicatorShown(m_sortable);
    applySort(col, order, true);
}

void FlexGrid::applySort(int col, Qt::SortOrder order, bool keepCurrent)
{
    if (col >= Cols())
        return;
    // The row that was current stays current wherever it goes; a new result starts at its
    // first row.
    const int current = keepCurrent ? Row() : FixedRows();
    const int currentCol = Col();
    const QScopedValueRollback<bool> quiet(m_emitting, true);
    const std::vector<int> from = m_model->sortRows(col, order);
    const auto it = std::find(from.begin(), from.end(), current);
    const int row
        = it != from.end() ? FixedRows() + static_cast<int>(it - from.begin()) : FixedRows();
    moveTo(keepCurrent ? row : FixedRows(), currentCol);
}

void FlexGrid::setNotice(const QString &text)
{
    if (text == m_notice)
        return;
    m_notice = text;
    viewport()->update();
}

void FlexGrid::paintEvent(QPaintEvent *event)
{
    if (m_notice.isEmpty()) {
        QTableView::paintEvent(event);
        return;
    }
    // The notice takes the place of the rows, so that an empty result is not a grid of blanks.
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().brush(QPalette::Base));
    painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(viewport()->rect().adjusted(8, 8, -8, -8),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, m_notice);
}

void FlexGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    applyStretch();
}

void FlexGrid::applyColumnLayout()
{
    m_colTwips.resize(static_cast<size_t>(Cols()), -1);
    m_userWidths.resize(static_cast<size_t>(Cols()), -1);
    for (int col = 0; col < Cols(); ++col)
        applyColWidth(col);
    horizontalHeader()->setVisible(m_model->headerRows() > 0);
}

void FlexGrid::setColAlignment(int col, Qt::Alignment alignment)
{
    m_model->setColAlignment(col, alignment);
}

Qt::Alignment FlexGrid::ColAlignment(int col) const
{
    return m_model->colAlignment(col);
}

void FlexGrid::bind(const db::Recordset &records)
{
    {
        const QScopedValueRollback<bool> quiet(m_emitting, true);
        m_model->bind(records.columns(), records.rows());
    }
    // A new result is shown in the order the user chose.
    if (m_sortCol >= 0)
        applySort(m_sortCol, m_sortOrder, false);
    Q_EMIT bound();
}

void FlexGrid::unbind()
{
    Clear();
    Q_EMIT bound();
}

void FlexGrid::Clear()
{
    m_model->clearCells();
}

void FlexGrid::setCellBackColor(int row, int col, const QColor &color)
{
    m_model->setBackColor(row, col, color);
}

QColor FlexGrid::CellBackColor(int row, int col) const
{
    return m_model->backColor(row, col);
}

void FlexGrid::setCellForeColor(int row, int col, const QColor &color)
{
    m_model->setForeColor(row, col, color);
}

QColor FlexGrid::CellForeColor(int row, int col) const
{
    return m_model->foreColor(row, col);
}

void FlexGrid::setCellPicture(int row, int col, const QPixmap &picture)
{
    m_model->setPicture(row, col, picture);
}

QRect FlexGrid::cellGeometry(int row, int col) const
{
    QRect rect;
    if (row < m_model->headerRows()) {
        if (!m_model->contains(row, col) || isColumnHidden(col))
            return QRect();
        const QHeaderView *header = horizontalHeader();
        rect = QRect(header->sectionViewportPosition(col), 0, header->sectionSize(col),
                     header->height());
        return rect.translated(header->geometry().topLeft());
    }
    const QModelIndex index = m_model->cellIndex(row, col);
    if (!index.isValid() || isColumnHidden(col))
        return QRect();
    rect = visualRect(index);
    if (!rect.intersects(viewport()->rect()))
        return QRect();
    return rect.translated(viewport()->geometry().topLeft());
}

void FlexGrid::setRedraw(bool redraw)
{
    m_model->setBatching(!redraw);
    setUpdatesEnabled(redraw);
    if (redraw)
        viewport()->update();
}

bool FlexGrid::isDataIndex(const QModelIndex &index) const
{
    return index.isValid() && !m_model->isFixed(m_model->gridRow(index), index.column());
}

void FlexGrid::keyPressEvent(QKeyEvent *event)
{
    bool handled = false;
    Q_EMIT keyPressed(event->key(), event->modifiers(), &handled);
    if (handled) {
        event->accept();
        return;
    }
    // The grid's forms act on Enter through keyPressed; it must not reach the window, where it
    // would press the default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

bool FlexGrid::isRowHeaderIndex(const QModelIndex &index) const
{
    return index.isValid() && m_model->gridRow(index) >= FixedRows() && index.column() < FixedCols()
        && Cols() > FixedCols();
}

void FlexGrid::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (isRowHeaderIndex(index)) {
        // A fixed cell beside a row (a tick box, a marker) chooses its row.
        event->accept();
        setFocus(Qt::MouseFocusReason);
        moveTo(m_model->gridRow(index), Col());
        return;
    }
    if (index.isValid() && !isDataIndex(index)) {
        event->accept();
        return;
    }
    {
        const QScopedValueRollback<bool> clicking(m_clicking, true);
        QTableView::mousePressEvent(event);
    }
    if (isDataIndex(index) && event->button() == Qt::LeftButton)
        Q_EMIT cellClicked();
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (isRowHeaderIndex(index) && event->button() == Qt::LeftButton) {
        // A double click on a row's fixed cell (a tick box) acts on its row.
        event->accept();
        moveTo(m_model->gridRow(index), Col());
        Q_EMIT dblClick();
        return;
    }
    if (index.isValid() && !isDataIndex(index)) {
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
    if (isDataIndex(index) && event->button() == Qt::LeftButton)
        Q_EMIT dblClick();
}

void FlexGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_emitting || !current.isValid() || current == previous)
        return;
    Q_EMIT rowColChange();
    Q_EMIT enterCell();
}

QModelIndex FlexGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex moved = QTableView::moveCursor(cursorAction, modifiers);
    if (!moved.isValid() || isDataIndex(moved))
        return moved;
    // Keep the cursor out of the fixed rows and columns.
    const int row = std::max(m_model->gridRow(moved), FixedRows());
    const int col = std::max(moved.column(), FixedCols());
    return m_model->cellIndex(row, col);
}

void FlexGrid::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) {
        updateDefaultColors();
        verticalHeader()->setDefaultSectionSize(fontMetrics().height() + cellPadding);
    }
}

void FlexGrid::updateDefaultColors()
{
    const QPalette pal = palette();
    m_model->setDefaultColors(pal.color(QPalette::Button), pal.color(QPalette::ButtonText),
                              pal.color(QPalette::Base), pal.color(QPalette::Text));
}

} // namespace ui
