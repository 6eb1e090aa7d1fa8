#pragma once

#include "platform/db/Recordset.h"

#include <QDialog>
#include <QString>
#include <utility>

class QLineEdit;
class QPushButton;

namespace ui {
class FlexGrid;
}

// "List of Users": employees whose code or name matches the search text. The caller sets
// SearchString, shows the form through ui::showModal and reads Code ("" when nothing was chosen).
class frmDispenser final : public QDialog
{
    Q_OBJECT

public:
    explicit frmDispenser(QWidget *parent = nullptr);

    QString SearchString;
    bool DrugsOrCsr = false;
    QString Code() const { return m_code; }

    QLineEdit *txtSearch;
    ui::FlexGrid *flexMSHList;
    QPushButton *cmdOK;
    QPushButton *cmdCancel;

    // Puts SearchString into the search box and fills the list (done when the form is shown).
    void Form_Load();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void FillList();
    void cmdOK_Click();
    void cmdCancel_Click();

    db::Recordset m_list;
    QString m_code;
    bool m_loaded = false;
};
