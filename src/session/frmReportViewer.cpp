#include "session/frmReportViewer.h"

#include "platform/report/Report.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Prompt.h"
#include "session/Inventory.h"
#include "session/Reports.h"
#include "session/Session.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

frmReportViewer::frmReportViewer(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmReportViewer"));
    resize(900, 700);

    auto *layout = new QVBoxLayout(this);
    // The viewer fills the window.
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(4, 4, 4, 4);
    cmdPrint = new QPushButton(QStringLiteral("&Print..."), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdSavePdf = new QPushButton(QStringLiteral("Save as PDF…"), this);
    cmdSavePdf->setObjectName(QStringLiteral("cmdSavePdf"));
    bar->addWidget(cmdPrint);
    bar->addWidget(cmdSavePdf);
    bar->addStretch();
    layout->addLayout(bar);

    CRViewer1 = new QTextBrowser(this);
    CRViewer1->setObjectName(QStringLiteral("CRViewer1"));
    CRViewer1->setOpenLinks(false);
    layout->addWidget(CRViewer1, 1);

    connect(cmdPrint, &QPushButton::clicked, this, &frmReportViewer::cmdPrint_Click);
    connect(cmdSavePdf, &QPushButton::clicked, this, &frmReportViewer::cmdSavePdf_Click);
}

frmReportViewer::~frmReportViewer()
{
    Form_Unload();
}

void frmReportViewer::Form_Load()
{
    if (!Session.Report)
        return;
    Session.Report->render(sqlconnection(), *CRViewer1->document());
}

void frmReportViewer::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    ReleaseReport();
}

bool frmReportViewer::savePdf(const QString &path)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setDocName(windowTitle());
    CRViewer1->document()->print(&printer);
    return QFileInfo::exists(path);
}

void frmReportViewer::cmdPrint_Click()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("dlgPrint"));
    if (ui::showModal(dialog) == QDialog::Accepted)
        CRViewer1->document()->print(&printer);
}

void frmReportViewer::cmdSavePdf_Click()
{
    QFileDialog dialog(this, QStringLiteral("Save as PDF"), QString(),
                       QStringLiteral("PDF files (*.pdf)"));
    dialog.setObjectName(QStringLiteral("dlgSavePdf"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(windowTitle() + QStringLiteral(".pdf"));
    if (ui::showModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    if (!savePdf(path))
        ui::msgBox(QStringLiteral("The report could not be saved to ") + path, ui::Buttons::Ok,
                   ui::Icon::Exclamation);
}
