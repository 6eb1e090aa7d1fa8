#include "platform/ui/DataCombo.h"

#include "platform/db/Recordset.h"
#include "platform/format/Format.h"

#include <QLineEdit>

namespace ui {

DataCombo::DataCombo(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
}

void DataCombo::setText(const QString &text)
{
    setEditText(text);
    // A name longer than the box shows its beginning, not its end.
    if (QLineEdit *edit = lineEdit())
        edit->setCursorPosition(0);
}

void DataCombo::setListSource(const db::Recordset &records, const QString &shownColumn)
{
    const QString keep = currentText();
    const QSignalBlocker block(this);
    clear();
    const int col = records.fieldIndex(shownColumn);
    if (col >= 0) {
        QStringList items;
        items.reserve(static_cast<int>(records.rows().size()));
        for (const auto &row : records.rows())
            items << format::variantText(
                col < static_cast<int>(row.size()) ? row[static_cast<size_t>(col)] : QVariant());
        addItems(items);
    }
    setCurrentIndex(-1);
    setEditText(keep);
}

void DataCombo::setListItem(int index, const QString &text)
{
    const QString keep = currentText();
    const QSignalBlocker block(this);
    while (count() <= index)
        addItem(QString());
    setItemText(index, text);
    setCurrentIndex(-1);
    setEditText(keep);
}

void DataCombo::clearList()
{
    const QString keep = currentText();
    const QSignalBlocker block(this);
    clear();
    setCurrentIndex(-1);
    setEditText(keep);
}

} // namespace ui
