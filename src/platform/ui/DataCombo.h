#pragma once

#include <QComboBox>
#include <QString>

namespace db {
class Recordset;
}

namespace ui {

// A combo whose list comes from a query result (the shown column) or from written items, whose
// text the user may type, and which keeps an identifier of its own in Tag (the chosen
// location's, department's or section's identifier once the text has been validated).
class DataCombo : public QComboBox
{
    Q_OBJECT

public:
    explicit DataCombo(QWidget *parent = nullptr);

    QString Tag;

    QString Text() const { return currentText(); }
    void setText(const QString &text);

    // Makes the result the combo's list, showing the named column; the text is kept.
    void setListSource(const db::Recordset &records, const QString &shownColumn);
    // Writes an item at a list position (extending the list when needed); the text is kept.
    void setListItem(int index, const QString &text);
    void clearList(); // empties the list, keeps the text
};

} // namespace ui
