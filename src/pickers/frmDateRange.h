#pragma once

#include <QDialog>

class QDateEdit;
class QGroupBox;
class QLabel;
class QPushButton;

// Asks for the period of a report and prints it; ReportKind "1" is the issued-requests report.
class frmDateRange final : public QDialog
{
    Q_OBJECT

public:
    explicit frmDateRange(QWidget *parent = nullptr);

    QString ReportKind; // set by the caller before the dialog is shown

    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();

    QGroupBox *fraPeriod = nullptr;
    QLabel *lblFrom = nullptr;
    QLabel *lblTo = nullptr;
    QDateEdit *dpStart = nullptr;
    QDateEdit *dpEnd = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool m_loaded = false;
};
