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
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *toolButton(QWidget *parent, const char *name, const QString &text, const QString &tip,
                        QStyle::StandardPixmap icon = QStyle::SP_CustomBase)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setToolTip(tip);
    if (icon != QStyle::SP_CustomBase)
        button->setIcon(parent->style()->standardIcon(icon));
    button->setToolButtonStyle(icon != QStyle::SP_CustomBase ? Qt::ToolButtonIconOnly
                                                             : Qt::ToolButtonTextOnly);
    return button;
}

} // namespace

frmReportViewer::frmReportViewer(QWidget *parent)
    : QDialog(parent)
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("frmReportViewer"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(960, 760);
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);

    auto *layout = new QVBoxLayout(this);
    // The pages fill the window under one bar of controls.
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(6, 4, 6, 4);
    cmdFirstPage = toolButton(this, "cmdFirstPage", QStringLiteral("First"),
                              QStringLiteral("First page"), QStyle::SP_MediaSkipBackward);
    cmdPreviousPage
        = toolButton(this, "cmdPreviousPage", QStringLiteral("Previous"),
                     QStringLiteral("Previous page (Page Up)"), QStyle::SP_MediaSeekBackward);
    txtPage = new QSpinBox(this);
    txtPage->setObjectName(QStringLiteral("txtPage"));
    txtPage->setToolTip(QStringLiteral("Page shown"));
    txtPage->setMinimum(1);
    lblPages = new QLabel(this);
    lblPages->setObjectName(QStringLiteral("lblPages"));
    cmdNextPage = toolButton(this, "cmdNextPage", QStringLiteral("Next"),
                             QStringLiteral("Next page (Page Down)"), QStyle::SP_MediaSeekForward);
    cmdLastPage = toolButton(this, "cmdLastPage", QStringLiteral("Last"),
                             QStringLiteral("Last page"), QStyle::SP_MediaSkipForward);
    cmdZoomOut = toolButton(this, "cmdZoomOut", QStringLiteral("−"), QStringLiteral("Zoom out"));
    cmdZoomIn = toolButton(this, "cmdZoomIn", QStringLiteral("+"), QStringLiteral("Zoom in"));
    cmdFitWidth = toolButton(this, "cmdFitWidth", QStringLiteral("Fit &width"),
                             QStringLiteral("Page width fills the window"));
    cmdFitPage = toolButton(this, "cmdFitPage", QStringLiteral("Whole pa&ge"),
                            QStringLiteral("Whole page in the window"));
    cmdPortrait = toolButton(this, "cmdPortrait", QStringLiteral("P&ortrait"),
                             QStringLiteral("Portrait paper"));
    cmdLandscape = toolButton(this, "cmdLandscape", QStringLiteral("&Landscape"),
                              QStringLiteral("Landscape paper"));
    cmdPortrait->setCheckable(true);
    cmdLandscape->setCheckable(true);
    cmdPageSetup = new QPushButton(QStringLiteral("Page Set&up..."), this);
    cmdPageSetup->setObjectName(QStringLiteral("cmdPageSetup"));
    cmdPrint = new QPushButton(QStringLiteral("&Print..."), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdSavePdf = new QPushButton(QStringLiteral("&Export PDF..."), this);
    cmdSavePdf->setObjectName(QStringLiteral("cmdSavePdf"));
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setAutoDefault(false);
    cmdPrint->setAutoDefault(false);

    for (QWidget *w : std::initializer_list<QWidget *> {cmdFirstPage, cmdPreviousPage, txtPage,
                                                        lblPages, cmdNextPage, cmdLastPage})
        bar->addWidget(w);
    bar->addSpacing(12);
    for (QWidget *w :
         std::initializer_list<QWidget *> {cmdZoomOut, cmdZoomIn, cmdFitWidth, cmdFitPage})
        bar->addWidget(w);
    bar->addSpacing(12);
    bar->addWidget(cmdPortrait);
    bar->addWidget(cmdLandscape);
    bar->addStretch();
    for (QWidget *w :
         std::initializer_list<QWidget *> {cmdPageSetup, cmdPrint, cmdSavePdf, cmdClose})
        bar->addWidget(w);
    layout->addLayout(bar);

    CRViewer1 = new QPrintPreviewWidget(m_printer.get(), this);
    CRViewer1->setObjectName(QStringLiteral("CRViewer1"));
    layout->addWidget(CRViewer1, 1);

    connect(CRViewer1, &QPrintPreviewWidget::paintRequested, this,
            &frmReportViewer::paintRequested);
    connect(CRViewer1, &QPrintPreviewWidget::previewChanged, this,
            &frmReportViewer::previewChanged);
    connect(txtPage, &QSpinBox::valueChanged, this, &frmReportViewer::goToPage);
    connect(cmdFirstPage, &QToolButton::clicked, this, [this] { goToPage(1); });
    connect(cmdPreviousPage, &QToolButton::clicked, this,
            [this] { goToPage(CRViewer1->currentPage() - 1); });
    connect(cmdNextPage, &QToolButton::clicked, this,
            [this] { goToPage(CRViewer1->currentPage() + 1); });
    connect(cmdLastPage, &QToolButton::clicked, this, [this] { goToPage(CRViewer1->pageCount()); });
    connect(cmdZoomIn, &QToolButton::clicked, CRViewer1, [this] { CRViewer1->zoomIn(1.25); });
    connect(cmdZoomOut, &QToolButton::clicked, CRViewer1, [this] { CRViewer1->zoomOut(1.25); });
    connect(cmdFitWidth, &QToolButton::clicked, CRViewer1, &QPrintPreviewWidget::fitToWidth);
    connect(cmdFitPage, &QToolButton::clicked, CRViewer1, &QPrintPreviewWidget::fitInView);
    connect(cmdPortrait, &QToolButton::clicked, this, [this] { setOrientation(false); });
    connect(cmdLandscape, &QToolButton::clicked, this, [this] { setOrientation(true); });
    connect(cmdPageSetup, &QPushButton::clicked, this, &frmReportViewer::cmdPageSetup_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmReportViewer::cmdPrint_Click);
    connect(cmdSavePdf, &QPushButton::clicked, this, &frmReportViewer::cmdSavePdf_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

frmReportViewer::~frmReportViewer()
{
    Form_Unload();
}

void frmReportViewer::Form_Load()
{
    if (!Session.Report)
        return;
    m_content = Session.Report->read(sqlconnection());
    m_printer->setDocName(windowTitle());
    m_printer->setPageOrientation(m_content.orientation);
    CRViewer1->setZoomMode(QPrintPreviewWidget::FitToWidth);
    CRViewer1->updatePreview();
}

void frmReportViewer::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    ReleaseReport();
}

QRectF frmReportViewer::pageArea() const
{
    const QRect paint = m_printer->pageLayout().paintRectPixels(m_printer->resolution());
    return QRectF(0, 0, paint.width(), paint.height());
}

report::PrintedReport frmReportViewer::pages() const
{
    return report::layOut(m_content, pageArea(), m_printer.get());
}

QString frmReportViewer::text() const
{
    return report::plainText(pages());
}

int frmReportViewer::pageCount() const
{
    return CRViewer1->pageCount();
}

void frmReportViewer::paintRequested(QPrinter *printer)
{
    report::print(m_content, *printer);
}

void frmReportViewer::previewChanged()
{
    const int count = std::max(1, CRViewer1->pageCount());
    const QSignalBlocker block(txtPage);
    txtPage->setMaximum(count);
    txtPage->setValue(CRViewer1->currentPage());
    lblPages->setText(QStringLiteral("of %1").arg(count));
    const bool landscape = m_printer->pageLayout().orientation() == QPageLayout::Landscape;
    cmdPortrait->setChecked(!landscape);
    cmdLandscape->setChecked(landscape);
}

void frmReportViewer::goToPage(int page)
{
    CRViewer1->setCurrentPage(std::clamp(page, 1, std::max(1, CRViewer1->pageCount())));
    // The preview reports a new page only when it is scrolled there.
    previewChanged();
}

void frmReportViewer::setOrientation(bool landscape)
{
    if (landscape)
        CRViewer1->setLandscapeOrientation();
    else
        CRViewer1->setPortraitOrientation();
    previewChanged();
}

bool frmReportViewer::savePdf(const QString &path)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setDocName(windowTitle());
    printer.setPageLayout(m_printer->pageLayout());
    report::print(m_content, printer);
    return QFileInfo::exists(path) && QFileInfo(path).size() > 0;
}

void frmReportViewer::cmdPageSetup_Click()
{
    QPageSetupDialog dialog(m_printer.get(), this);
    dialog.setObjectName(QStringLiteral("dlgPageSetup"));
    if (ui::showModal(dialog) == QDialog::Accepted) {
        CRViewer1->updatePreview();
        previewChanged();
    }
}

void frmReportViewer::cmdPrint_Click()
{
    QPrintDialog dialog(m_printer.get(), this);
    dialog.setObjectName(QStringLiteral("dlgPrint"));
    if (ui::showModal(dialog) == QDialog::Accepted)
        CRViewer1->print();
}

void frmReportViewer::cmdSavePdf_Click()
{
    QFileDialog dialog(this, QStringLiteral("Export PDF"), QString(),
                       QStringLiteral("PDF files (*.pdf)"));
    dialog.setObjectName(QStringLiteral("dlgSavePdf"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    dialog.selectFile(windowTitle() + QStringLiteral(".pdf"));
    if (ui::showModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    if (!savePdf(path))
        ui::msgBox(QStringLiteral("The report could not be saved to ") + path
                       + QStringLiteral("\r\nChoose a folder you may write to and try again."),
                   ui::Buttons::Ok, ui::Icon::Exclamation);
}
