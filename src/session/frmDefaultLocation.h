#pragma once

#include <QDialog>

class QPushButton;

namespace ui {
class DataCombo;
}

// The workstation's default requesting location: one of the user's locations, stored for the
// user and preselected on every new document.
class frmDefaultLocation final : public QDialog
{
    Q_OBJECT

public:
    explicit frmDefaultLocation(QWidget *parent = nullptr);

    ui::DataCombo *cboDefaultLocation;
    QPushButton *cmdOK;

    // Resolves the combo's text to its location (Tag); returns Cancel.
    bool cboDefaultLocation_Validate();

private:
    void cmdOK_Click();
};
