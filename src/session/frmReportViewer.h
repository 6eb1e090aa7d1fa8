#pragma once

#include "platform/report/Layout.h"

#include <QDialog>
#include <memory>

class QLabel;
class QPrinter;
class QPrintPreviewWidget;
class QPushButton;
class QSpinBox;
class QToolButton;

// The report viewer: the prepared report (Session.Report) on paged paper, with page and zoom
// controls, page set-up, print and export to PDF. Created anew for each report; unloading it
// closes the report.
class frmReportViewer final : public QDialog
{
    Q_OBJECT

public:
    explicit frmReportViewer(QWidget *parent = nullptr);
    ~frmReportViewer() override;

    // Kept for the callers; the viewer has no group tree to show.
    void setShowGroupTree(bool show) { m_showGroupTree = show; }

    // Reads the report's rows and lays them out (a database error reaches the caller).
    void Form_Load();
    void Form_Unload();

    // The pages as they stand for the current paper, and their text line by line.
    report::PrintedReport pages() const;
    QString text() const;
    const report::ReportContent &content() const { return m_content; }
    // The printable area of the current paper, in the printer's units.
    QRectF pageArea() const;
    int pageCount() const;
    QPrinter &printer() { return *m_printer; }

    // Writes the report to a PDF file on the current paper; false when it cannot be written.
    bool savePdf(const QString &path);

    QPrintPreviewWidget *CRViewer1 = nullptr;
    QToolButton *cmdFirstPage = nullptr;
    QToolButton *cmdPreviousPage = nullptr;
    QSpinBox *txtPage = nullptr;
    QLabel *lblPages = nullptr;
    QToolButton *cmdNextPage = nullptr;
    QToolButton *cmdLastPage = nullptr;
    QToolButton *cmdZoomOut = nullptr;
    QToolButton *cmdZoomIn = nullptr;
    QToolButton *cmdFitWidth = nullptr;
    QToolButton *cmdFitPage = nullptr;
    QToolButton *cmdPortrait = nullptr;
    QToolButton *cmdLandscape = nullptr;
    QPushButton *cmdPageSetup = nullptr;
    QPushButton *cmdPrint = nullptr;
    QPushButton *cmdSavePdf = nullptr;
    QPushButton *cmdClose = nullptr;

private:
    void paintRequested(QPrinter *printer);
    void previewChanged();
    void goToPage(int page);
    void setOrientation(bool landscape);
    void cmdPageSetup_Click();
    void cmdPrint_Click();
    void cmdSavePdf_Click();

    std::unique_ptr<QPrinter> m_printer;
    report::ReportContent m_content;
    bool m_showGroupTree = false;
    bool m_unloaded = false;
};
