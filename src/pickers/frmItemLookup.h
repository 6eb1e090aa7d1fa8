#pragma once

#include <QDialog>
#include <QString>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace ui {
class FlexGrid;
}

// "Product Search": finds items by code or by the start of their name. The caller sets the
// search fields, calls load() (which runs the first search) and, unless SingleMatch came back
// true, shows the form; the chosen code lands in Session.LookupResult.
class frmItemLookup final : public QDialog
{
    Q_OBJECT

public:
    explicit frmItemLookup(QWidget *parent = nullptr);

    // The starting search text; after load() the code of the single match, when there was one.
    QString SearchString;
    QString LocationName;
    // Empty: search the item master; otherwise search what the two locations below hold.
    QString LocationCode;
    int LookupType = 0;
    bool SingleMatch = false;
    // The supplying and requesting locations at the moment of the search.
    QString SupplyingLocationID;
    QString RequestingLocationID;

    QLineEdit *txtSearch;
    QLineEdit *txtLocation;
    QPushButton *cmdSearch;
    QToolButton *picSearch;
    ui::FlexGrid *grdLookup;
    std::array<QPushButton *, 2> cmdOptions {}; // 1 "&Select", 0 "&Close"

    // Clears Session.LookupResult and runs the search for SearchString. A database failure
    // reaches the caller.
    void load();
    // Runs the search for the search box's text; true when items were found. A database failure
    // is reported and lists nothing.
    bool Search();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cmdSearch_Click();
    void cmdOptions_Click(int index);
    // Lists the items for the text; false (the list untouched) when none. Throws when the
    // database refuses the search.
    bool runSearch(const QString &text);
    void showNoRows();
    QString searchStatement(const QString &text) const;

    bool m_loading = false;
};
