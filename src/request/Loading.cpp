#include "request/Loading.h"

#include "platform/db/Connection.h"
#include "platform/format/Format.h"
#include "platform/ui/FlexGrid.h"
#include "request/FormHelpers.h"
#include "request/frmMain.h"
#include "session/Inventory.h"
#include "session/Session.h"
#include "ui_frmMain.h"

#include <QLineEdit>

namespace {

// A location of the loaded document: its identifier in Tag, its name shown from the start.
void showLocation(ui::DataCombo &combo, const QString &id, const QString &name)
{
    combo.Tag = id;
    combo.setText(name);
    if (combo.lineEdit())
        combo.lineEdit()->setCursorPosition(0);
}

QString listedDocumentNumber(const ui::FlexGrid &listing)
{
    return listing.TextMatrix(listing.Row(), 1);
}

} // namespace

void ShowDocumentKind(MainControls &c, bool isRequest)
{
    Ui::frmMain &ui = *c.ui;
    if (isRequest) {
        ui.lblInvRequest->setText(QStringLiteral("Inventory Request"));
        c.Label1[6]->setText(QStringLiteral("Request to Location"));
        ui.Label3->setText(QStringLiteral("(Department you're requesting to)"));
    } else {
        ui.lblInvRequest->setText(QStringLiteral("Inventory Return"));
        c.Label1[6]->setText(QStringLiteral("Return to Location"));
        ui.Label3->setText(QStringLiteral("(Department you're returning to)"));
    }
}

Loading::Loading(frmMain &form)
    : m_form(form)
    , m_c(form.controls())
    , m_flags(form.flags())
{ }

void Loading::LoadRequest()
{
    Ui::frmMain &ui = *m_c.ui;
    ui::FlexGrid &grid = *ui.grdDetails;
    const bool lotNumbers = GetInvSwitch(QStringLiteral("91"));
    const bool onHand = GetInvSwitch(QStringLiteral("92"));

    // 1.
    const QString number
        = m_flags.IsNewDocument ? QStringLiteral("NEW") : listedDocumentNumber(*ui.grdListing);
    db::Recordset rs
        = sqlconnection().query(QStringLiteral("Inventory..sp_Inv_LoadWithdrawalRequest '")
                                + db::quoteInner(number) + QLatin1Char('\''));

    if (rs.eof()) {
        // 2. Nothing stored under that number (a new document, or one deleted meanwhile).
        ui.txtDocNum->setText(QStringLiteral("NEW"));
        m_form.ClearAll();
        grid.unbind();
        grid.Clear();
        grid.setCols(10);
        grid.setRows(2);
        grid.setRow(1);
    } else {
        // 3. The ZRWB header fields.
        if (isSite("ZRWB")) {
            LoadDepartment(*ui.cboDepartment);
            ui.cboDepartment->setText(rs.text(QStringLiteral("Department")));
            ui.cboSection->setText(rs.text(QStringLiteral("Section")));
            ui.txtOfficer->setText(rs.text(QStringLiteral("ApprovingofficerID")));
            ui.txtReqID->setText(rs.text(QStringLiteral("RequestedBy")));
        }

        // 4. A return keeps the user's own location in the requesting combo.
        if (lotNumbers) {
            ui.frameLotNumber->setVisible(true);
            const QVariant kind = rs.field(QStringLiteral("isRequest"));
            m_flags.IsRequest = kind.isNull() || kind.toString().isEmpty() || isTrueValue(kind);
        } else {
            m_flags.IsRequest = true;
        }
        const QString locationId = rs.text(QStringLiteral("LocationID"));
        const QString location = rs.text(QStringLiteral("Location"));
        const QString targetId = rs.text(QStringLiteral("TargetLocationID"));
        const QString target = rs.text(QStringLiteral("TLocation"));
        if (m_flags.IsRequest) {
            showLocation(*ui.cboLocation, locationId, location);
            showLocation(*ui.cboTargetLocation, targetId, target);
        } else {
            showLocation(*ui.cboLocation, targetId, target);
            showLocation(*ui.cboTargetLocation, locationId, location);
        }

        // 5.-6.
        ShowDocumentKind(m_c, m_flags.IsRequest);
        ui.txtDocNum->setText(rs.text(QStringLiteral("DocumentNumber")));
        ui.txtRemarks->setPlainText(rs.text(QStringLiteral("Remarks")));
        setTransDate(ui.txtTransDate, rs.field(QStringLiteral("Transdate")));

        // 7. One grid row per line, then the empty entry row. The rows are emptied first so
        // that nothing of the previous document stays behind in them.
        grid.unbind();
        grid.Clear();
        grid.setRows(rs.recordCount() + 2);
        grid.setCols(10);
        grid.setRedraw(false);
        rs.moveFirst();
        for (int row = 1; !rs.eof(); ++row, rs.moveNext()) {
            const double quantity = numberValue(rs.field(QStringLiteral("Quantity")));
            const double unitCost = numberValue(rs.field(QStringLiteral("UnitCost")));
            grid.setTextMatrix(row, DetailsCol::Code, rs.text(QStringLiteral("ItemID")));
            grid.setTextMatrix(row, DetailsCol::Description,
                               rs.text(QStringLiteral("Description")));
            grid.setTextMatrix(row, DetailsCol::UOM, rs.text(QStringLiteral("UnitOfMeasure")));
            grid.setTextMatrix(row, DetailsCol::Quantity, format::numberText(quantity));
            grid.setTextMatrix(row, DetailsCol::UnitCost, format::numberText(unitCost));
            grid.setTextMatrix(row, DetailsCol::TotalCost, format::numberText(quantity * unitCost));
            grid.setTextMatrix(row, DetailsCol::Retail, rs.text(QStringLiteral("ForRetail")));
            grid.setTextMatrix(row, DetailsCol::isADS,
                               isTrueValue(rs.field(QStringLiteral("isADS")))
                                   ? QStringLiteral("Y")
                                   : QStringLiteral("N"));
            if (onHand) {
                const QVariant stock = rs.field(QStringLiteral("OnHand"));
                grid.setTextMatrix(row, DetailsCol::OnHand,
                                   stock.isNull() ? QStringLiteral("0")
                                                  : format::variantText(stock));
            }
            if (lotNumbers)
                grid.setTextMatrix(row, DetailsCol::LotNumber,
                                   rs.text(QStringLiteral("Lotnumber")));
        }
        grid.setRedraw(true);
        grid.setRow(1);
    }
    rs.close();

    // 8.
    ApplyLinesLayout();

    // 9. The request order of the same number; a new document has none to show.
    if (isSite("Q4VH") && !m_flags.IsNewDocument)
        LoadRequestOrder(listedDocumentNumber(*ui.grdListing));

    // 10.
    m_flags.IsNewDocument = false;
}

void Loading::ApplyLinesLayout()
{
    ui::FlexGrid &grid = *m_c.ui->grdDetails;
    grid.setFormatString(QStringLiteral("Code |< Product Name & Description |<UOM     | Quantity "
                                        "| Unit Cost| Total Cost| Retail?|<IsAds  "));
    const int widths[] = {800, 4500, 800, 1000, 1000, 1000, 700, 0, 0};
    for (int col = 0; col < 9; ++col)
        grid.setColWidth(col, widths[col]);
    if (GetInvSwitch(QStringLiteral("92"))) {
        grid.setTextMatrix(0, DetailsCol::OnHand, QStringLiteral("OnHand"));
        grid.setColWidth(DetailsCol::OnHand, 800);
    }
    grid.setColWidth(DetailsCol::LotNumber, 0);
    if (GetInvSwitch(QStringLiteral("91"))) {
        grid.setTextMatrix(0, DetailsCol::LotNumber, QStringLiteral("LotNumber"));
        grid.setColWidth(DetailsCol::LotNumber, 1000);
    }
    if (!isSite("ZRWB"))
        grid.setColWidth(DetailsCol::UOM, 0);
    m_form.UpdateLineCounter();
}

void Loading::LoadRequestOrder(const QString &number)
{
    Ui::frmMain &ui = *m_c.ui;
    m_form.InitRequestOrderGrid(true);
    {
        db::Recordset lines = sqlconnection().query(
            QStringLiteral("select a.itemid,b.Itemname,b.unitofmeasureid as UOM,a.qty,a.unitcost,"
                           "a.TotalCost ")
            + QStringLiteral(" from inventory..tbinvRequestOrder a ")
            + QStringLiteral(" left join inventory..tbinvmaster b on a.itemid = b.itemid ")
            + QStringLiteral(" left join inventory..tbinvunitofmeasure c on b.unitofmeasureid = "
                             "c.unitofmeasureid ")
            + QStringLiteral(" where documentnumber = '") + db::quoteInner(number)
            + QStringLiteral("' "));
        if (lines.eof())
            ui.fgRO->unbind();
        else
            ui.fgRO->bind(lines);
    }
    m_form.InitRequestOrderGrid(false);
    m_form.UpdateROTotal();

    db::Recordset header = sqlconnection().query(
        QStringLiteral(" Select top 1 a.Remarks,a.transdate,a.locationid,b.location,"
                       "a.targetlocationid, c.location as tlocation,a.documentnumber ")
        + QStringLiteral(" from inventory..tbinvrequestorder a ")
        + QStringLiteral(" Inner join inventory..tbinvlocation b on a.locationid = b.locationid ")
        + QStringLiteral(" Inner join inventory..tbinvlocation c on a.targetlocationid = "
                         "c.locationid ")
        + QStringLiteral(" where a.documentnumber = '") + db::quoteInner(number)
        + QStringLiteral("' "));
    if (header.eof()) {
        ui.txtRODocNum->setText(QStringLiteral("NEW"));
        return;
    }
    showLocation(*ui.cboLocation, header.text(QStringLiteral("locationid")),
                 header.text(QStringLiteral("location")));
    showLocation(*ui.cboTargetLocation, header.text(QStringLiteral("targetlocationid")),
                 header.text(QStringLiteral("tlocation")));
    ui.txtRODocNum->setText(header.text(QStringLiteral("documentnumber")));
    setTransDate(ui.txtTransDate, header.field(QStringLiteral("transdate")));
    ui.txtRemarks->setPlainText(header.text(QStringLiteral("Remarks")));
}
