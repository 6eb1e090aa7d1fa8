#pragma once

#include <QDialog>

class QPushButton;
class QTextBrowser;
class QTextDocument;

// The report viewer: the prepared report (Session.Report) laid out in a window the user prints
// from or saves as PDF. Created anew for each report; unloading it closes the report.
class frmReportViewer final : public QDialog
{
    Q_OBJECT

public:
    explicit frmReportViewer(QWidget *parent = nullptr);
    ~frmReportViewer() override;

    // Kept for the callers; the viewer has no group tree to show.
    void setShowGroupTree(bool show) { m_showGroupTree = show; }

    // Reads the report's rows and shows them (a database error reaches the caller).
    void Form_Load();
    void Form_Unload();

    // Writes the shown report to a PDF file; false when the file cannot be written.
    bool savePdf(const QString &path);

    QTextBrowser *CRViewer1 = nullptr;
    QPushButton *cmdPrint = nullptr;
    QPushButton *cmdSavePdf = nullptr;

private:
    void cmdPrint_Click();
    void cmdSavePdf_Click();

    bool m_showGroupTree = false;
    bool m_unloaded = false;
};
