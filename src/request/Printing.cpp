#include "request/Printing.h"

#include "acknowledge/frmAcknowledgement.h"
#include "pickers/frmDateRange.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Modal.h"
#include "request/FormHelpers.h"
#include "request/frmMain.h"
#include "session/Reports.h"
#include "session/Session.h"
#include "ui_frmMain.h"

#include <QRadioButton>

namespace {

bool printable(const QString &number)
{
    return !number.isEmpty() && number != QLatin1String("NEW");
}

} // namespace

Printing::Printing(frmMain &form)
    : m_form(form)
    , m_c(form.controls())
{ }

void Printing::cmdView_Click()
{
    Ui::frmMain &ui = *m_c.ui;
    QString documentNumber;
    QString requestOrderNumber;
    // A consolidation request is read from its own table; its number may also be in use there.
    bool consolidation = false;
    if (ui.SSTab1->currentIndex() == 0) {
        consolidation = m_c.optOptions[4] && m_c.optOptions[4]->isChecked();
        const ui::FlexGrid &grid = *ui.grdListing;
        const QString number = trimBlanks(grid.TextMatrix(grid.Row(), 1));
        if (number.left(2) == QLatin1String("RO"))
            requestOrderNumber = number;
        else
            documentNumber = number;
    } else {
        consolidation = m_form.document().isConsolidation();
        if (!ui.grdDetails->TextMatrix(1, 1).isEmpty())
            documentNumber = trimBlanks(ui.txtDocNum->text());
        if (!ui.fgRO->TextMatrix(1, 1).isEmpty())
            requestOrderNumber = trimBlanks(ui.txtRODocNum->text());
    }

    // One trap for the click: the first failure is shown with its template and ends the click.
    QString path;
    printTrapped(path, [&] {
        if (printable(documentNumber)) {
            Hourglass hourglass;
            QStringList params {Session.Company, Session.Address1, documentNumber};
            if (!isSite("TKRL")) {
                if (ui.chkPrint->isChecked()) {
                    path = ReportPath(QStringLiteral("\\DepartmentRequest_Short.rpt"));
                    params = QStringList {documentNumber};
                } else {
                    path = ReportPath(QStringLiteral("\\DepartmentRequest.rpt"));
                }
            } else if (CountRequestLines(documentNumber) <= 13) {
                path = ReportPath(QStringLiteral("\\DepartmentRequest_short.rpt"));
            } else {
                path = ReportPath(QStringLiteral("\\DepartmentRequest.rpt"));
            }
            if (consolidation)
                params << QStringLiteral("1");
            PrepareReport(path, params);
            hourglass.restore();
            ShowReport(false, QStringLiteral("Withdrawal Request"));
        }
        if (printable(requestOrderNumber)) {
            Hourglass hourglass;
            path = ReportPath(QStringLiteral("\\RequestOrder.rpt"));
            PrepareReport(path, {Session.Company, Session.Address1, requestOrderNumber});
            hourglass.restore();
            ShowReport(false, QStringLiteral("Request Order"));
        }
    });
}

void Printing::cmdAcknowledge_Click()
{
    frmAcknowledgement acknowledgement(&m_form);
    acknowledgement.Form_Load();
    ui::showModal(acknowledgement);
    m_form.tmrAcknowledge_Timer();
}

void Printing::mnuIssuedReports_Click()
{
    frmDateRange dateRange(&m_form);
    dateRange.ReportKind = QStringLiteral("1");
    ui::showModal(dateRange);
}
