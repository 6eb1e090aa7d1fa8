#include "pickers/ListPicker.h"

#include "platform/ui/FlexGrid.h"

#include <QAbstractButton>
#include <QPalette>
#include <QPointer>

namespace pickers {

namespace {

// Per grid: the armed way back and the highlighted cell, kept as dynamic properties so that
// highlightCurrentCell can find them after a refill.
const char *const kLitRow = "listPickerLitRow";
const char *const kLitCol = "listPickerLitCol";

class PickerKeys final : public QObject
{
public:
    explicit PickerKeys(const ListPickerGrid &picker)
        : QObject(picker.grid)
        , m_picker(picker)
        , m_choose(picker.chooseButton)
        , m_backTo(picker.backTo)
    { }

    void onKey(int key, bool *handled)
    {
        ui::FlexGrid &grid = *m_picker.grid;
        switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (m_choose && m_choose->isEnabled() && m_picker.choose)
                m_picker.choose();
            *handled = true;
            break;
        case Qt::Key_Escape:
            if (m_picker.close)
                m_picker.close();
            *handled = true;
            break;
        case Qt::Key_Up:
        case Qt::Key_PageUp:
            if (m_backTo && grid.Row() <= grid.FixedRows() && ++m_upAtFirstRow >= 2) {
                m_upAtFirstRow = 0;
                m_backTo->setFocus();
                *handled = true;
            }
            break;
        default:
            break;
        }
    }

    void onMove()
    {
        if (m_picker.grid->Row() != m_picker.grid->FixedRows())
            m_upAtFirstRow = 0;
        if (m_picker.highlight)
            highlightCurrentCell(*m_picker.grid);
    }

private:
    ListPickerGrid m_picker;
    QPointer<QAbstractButton> m_choose;
    QPointer<QWidget> m_backTo;
    int m_upAtFirstRow = 0;
};

} // namespace

void installListPickerKeys(const ListPickerGrid &picker)
{
    auto *keys = new PickerKeys(picker);
    QObject::connect(
        picker.grid, &ui::FlexGrid::keyPressed, keys,
        [keys](int key, Qt::KeyboardModifiers, bool *handled) { keys->onKey(key, handled); });
    QObject::connect(picker.grid, &ui::FlexGrid::rowColChange, keys, [keys] { keys->onMove(); });
}

void highlightCurrentCell(ui::FlexGrid &grid)
{
    const QVariant litRow = grid.property(kLitRow);
    const QVariant litCol = grid.property(kLitCol);
    if (litRow.isValid()) {
        const int row = litRow.toInt();
        const int col = litCol.toInt();
        if (row >= grid.FixedRows() && row < grid.Rows() && col < grid.Cols())
            grid.setCellBackColor(row, col, grid.palette().color(QPalette::Base));
    }
    if (!grid.isEnabled()) {
        grid.setProperty(kLitRow, QVariant());
        return;
    }
    grid.setProperty(kLitRow, grid.Row());
    grid.setProperty(kLitCol, grid.Col());
    grid.setCellBackColor(grid.Row(), grid.Col(), grid.palette().color(QPalette::ToolTipBase));
    grid.setCellForeColor(grid.Row(), grid.Col(), grid.palette().color(QPalette::WindowText));
}

} // namespace pickers
