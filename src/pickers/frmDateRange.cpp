#include "pickers/frmDateRange.h"

#include "platform/format/Format.h"
#include "session/Inventory.h"
#include "session/Reports.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmDateRange::frmDateRange(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDateRange"));
    setWindowTitle(QStringLiteral("Date Range"));

    fraPeriod = new QGroupBox(QStringLiteral("Report Period"), this);
    fraPeriod->setObjectName(QStringLiteral("fraPeriod"));
    lblFrom = new QLabel(QStringLiteral("From"), fraPeriod);
    lblTo = new QLabel(QStringLiteral("To"), fraPeriod);
    dpStart = new QDateEdit(fraPeriod);
    dpStart->setObjectName(QStringLiteral("dpStart"));
    dpEnd = new QDateEdit(fraPeriod);
    dpEnd->setObjectName(QStringLiteral("dpEnd"));
    for (QDateEdit *picker : {dpStart, dpEnd}) {
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    }
    lblFrom->setBuddy(dpStart);
    lblTo->setBuddy(dpEnd);
    auto *period = new QGridLayout(fraPeriod);
    period->addWidget(lblFrom, 0, 0);
    period->addWidget(dpStart, 0, 1);
    period->addWidget(lblTo, 1, 0);
    period->addWidget(dpEnd, 1, 1);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fraPeriod);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &frmDateRange::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmDateRange::cmdCancel_Click);
}

void frmDateRange::showEvent(QShowEvent *event)
{
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
    QDialog::showEvent(event);
}

void frmDateRange::Form_Load()
{
    if (ReportKind == QLatin1String("1"))
        setWindowTitle(QStringLiteral("Issued Reports"));
    dpStart->setDate(QDate::currentDate());
    dpEnd->setDate(QDate::currentDate());
}

void frmDateRange::cmdOK_Click()
{
    if (ReportKind != QLatin1String("1"))
        return;
    const QString path = ReportPath(QStringLiteral("\\IssuedRequests.rpt"));
    const QStringList params {Employeecode(), format::dateText(dpStart->date()),
                              format::dateText(dpEnd->date())};
    printTrapped(path, [&] {
        {
            Hourglass hourglass;
            PrepareReport(path, params);
        }
        accept();
        ShowReport(false, QStringLiteral("Issued Request"));
    });
}

void frmDateRange::cmdCancel_Click()
{
    reject();
}
