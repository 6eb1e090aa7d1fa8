#include "request/Loading.h"

#include "objects/clsEmployee.h"
#include "platform/db/Connection.h"
#include "platform/format/Format.h"
#include "platform/ui/FlexGrid.h"
#include "request/FormHelpers.h"
#include "request/LinesGrid.h"
#include "request/RequestDocument.h"
#include "request/Saving.h"
#include "request/frmMain.h"
#include "session/Inventory.h"
#include "session/Session.h"
#include "ui_frmMain.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <initializer_list>

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

QString employeeName(const QString &id)
{
    clsEmployee employee;
    if (trimBlanks(id).isEmpty() || !employee.Search(trimBlanks(id)))
        return QString();
    return employee.CompleteName;
}

// A date read from the database, or the server's general date text.
QDateTime transDateValue(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime();
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().startOfDay();
    return format::parseDateTime(value.toString());
}

} // namespace

QString LoadRequestStatement(const QString &number)
{
    return QStringLiteral("Inventory..sp_Inv_LoadWithdrawalRequest '") + db::quoteInner(number)
        + QLatin1Char('\'');
}

QString RequestOrderLinesStatement(const QString &number)
{
    return QStringLiteral("select a.itemid,b.Itemname,b.unitofmeasureid as UOM,a.qty,a.unitcost,"
                          "a.TotalCost ")
        + QStringLiteral(" from inventory..tbinvRequestOrder a ")
        + QStringLiteral(" left join inventory..tbinvmaster b on a.itemid = b.itemid ")
        + QStringLiteral(" left join inventory..tbinvunitofmeasure c on b.unitofmeasureid = "
                         "c.unitofmeasureid ")
        + QStringLiteral(" where documentnumber = '") + db::quoteInner(number)
        + QStringLiteral("' ");
}

QString RequestOrderHeaderStatement(const QString &number)
{
    return QStringLiteral(" Select top 1 a.Remarks,a.transdate,a.locationid,b.location,"
                          "a.targetlocationid, c.location as tlocation,a.documentnumber ")
        + QStringLiteral(" from inventory..tbinvrequestorder a ")
        + QStringLiteral(" Inner join inventory..tbinvlocation b on a.locationid = b.locationid ")
        + QStringLiteral(" Inner join inventory..tbinvlocation c on a.targetlocationid = "
                         "c.locationid ")
        + QStringLiteral(" where a.documentnumber = '") + db::quoteInner(number)
        + QStringLiteral("' ");
}

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
    RequestDocument &document = m_form.document();
    const bool isNew = m_flags.IsNewDocument;

    // 1.
    const QString number = isNew ? QStringLiteral("NEW") : listedDocumentNumber(*ui.grdListing);
    db::Recordset rs = sqlconnection().query(LoadRequestStatement(number));

    RequestDocument::Loaded loaded;
    loaded.number = QStringLiteral("NEW");
    if (rs.eof()) {
        // 2. Nothing stored under that number: the New command has started the new document;
        // one deleted meanwhile (or, at Q4VH, a request order alone) opens as a new request.
        rs.close();
        if (isNew) {
            ShowDocument();
            m_flags.IsNewDocument = false;
            return;
        }
    } else {
        LoadStoredDocument(rs, loaded);
    }

    // 9. At Q4VH the request order of the same number: its lines, and its header over the
    // document's.
    std::optional<RequestOrderHeader> roHeader;
    if (isSite("Q4VH")) {
        LoadRequestOrderLines(number);
        roHeader = ReadRequestOrderHeader(number);
        loaded.requestOrders = m_form.linesGrid().RequestOrdersOnGrid();
    }
    if (roHeader) {
        loaded.supplying = roHeader->supplying;
        loaded.requesting = roHeader->requesting;
        loaded.remarks = roHeader->remarks;
        if (roHeader->transDate.isValid())
            loaded.transDate = roHeader->transDate;
    }

    document.load(std::move(loaded));
    if (roHeader)
        document.setRequestOrderNumber(roHeader->number);
    ShowDocument();

    // 10.
    m_flags.IsNewDocument = false;
}

void Loading::LoadStoredDocument(db::Recordset &rs, RequestDocument::Loaded &loaded)
{
    const bool lotNumbers = GetInvSwitch(QStringLiteral("91"));
    const bool onHand = GetInvSwitch(QStringLiteral("92"));
    loaded.number = rs.text(QStringLiteral("DocumentNumber"));
    // The table the document lives in, and what is stored of it now, so that the save writes
    // back to the same document and can tell when another workstation changed it.
    loaded.stored = ReadStoredState(loaded.number);
    // 3. The ZRWB header fields; the identifiers come with the stored state.
    if (isSite("ZRWB")) {
        loaded.department = {loaded.stored.departmentId, rs.text(QStringLiteral("Department"))};
        loaded.section = {loaded.stored.sectionId, rs.text(QStringLiteral("Section"))};
        loaded.officerId = rs.text(QStringLiteral("ApprovingofficerID"));
        loaded.requesterId = rs.text(QStringLiteral("RequestedBy"));
        // The officers' names are looked up as the user's look-up would, without the list.
        loaded.officerName = employeeName(loaded.officerId);
        loaded.requesterName = employeeName(loaded.requesterId);
    }

    // 4. A return keeps the user's own location in the requesting combo.
    if (lotNumbers) {
        const QVariant kind = rs.field(QStringLiteral("isRequest"));
        loaded.isRequest = kind.isNull() || kind.toString().isEmpty() || isTrueValue(kind);
    }
    const DocumentLocation location {rs.text(QStringLiteral("LocationID")),
                                     rs.text(QStringLiteral("Location"))};
    const DocumentLocation target {rs.text(QStringLiteral("TargetLocationID")),
                                   rs.text(QStringLiteral("TLocation"))};
    loaded.supplying = loaded.isRequest ? location : target;
    loaded.requesting = loaded.isRequest ? target : location;

    // 6.
    loaded.remarks = rs.text(QStringLiteral("Remarks"));
    loaded.transDate = transDateValue(rs.field(QStringLiteral("Transdate")));

    // 7. The lines in result order.
    loaded.lines.reserve(static_cast<size_t>(rs.recordCount()));
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        RequestLine line;
        line.itemId = rs.text(QStringLiteral("ItemID"));
        line.description = rs.text(QStringLiteral("Description"));
        line.uom = rs.text(QStringLiteral("UnitOfMeasure"));
        line.quantity = numberValue(rs.field(QStringLiteral("Quantity")));
        line.unitCost
            = format::Currency::fromDouble(numberValue(rs.field(QStringLiteral("UnitCost"))));
        line.retail = rs.text(QStringLiteral("ForRetail"));
        line.ads = isTrueValue(rs.field(QStringLiteral("isADS")));
        if (onHand) {
            const QVariant stock = rs.field(QStringLiteral("OnHand"));
            line.onHand = stock.isNull() ? QStringLiteral("0") : format::variantText(stock);
        }
        if (lotNumbers)
            line.lotNumber = rs.text(QStringLiteral("Lotnumber"));
        loaded.lines.push_back(std::move(line));
    }
    rs.close();
}

void Loading::ShowDocument()
{
    Ui::frmMain &ui = *m_c.ui;
    const RequestDocument &document = m_form.document();
    ui::FlexGrid &grid = *ui.grdDetails;
    const bool lotNumbers = GetInvSwitch(QStringLiteral("91"));
    const bool onHand = GetInvSwitch(QStringLiteral("92"));

    // Showing a document is not the user editing it: no change handler runs meanwhile.
    const QSignalBlocker blockLocation(ui.cboLocation);
    const QSignalBlocker blockTarget(ui.cboTargetLocation);
    const QSignalBlocker blockDepartment(ui.cboDepartment);
    const QSignalBlocker blockSection(ui.cboSection);
    const QSignalBlocker blockRemarks(ui.txtRemarks);
    const QSignalBlocker blockOfficer(ui.txtOfficer);
    const QSignalBlocker blockRequester(ui.txtReqID);
    const QScopedValueRollback<bool> showing(m_form.showingDocument(), true);

    if (lotNumbers)
        ui.frameLotNumber->setVisible(true);
    showLocation(*ui.cboLocation, document.supplying().id, document.supplying().name);
    showLocation(*ui.cboTargetLocation, document.requesting().id, document.requesting().name);
    ShowDocumentKind(m_c, document.isRequest());
    ui.txtDocNum->setText(document.number());
    ui.txtRemarks->setPlainText(document.remarks());
    if (document.transDate().isValid())
        ui.txtTransDate->setDateTime(document.transDate());
    ui.txtRODocNum->setText(document.requestOrderNumber());

    // The site header: identifiers in Tag, names shown; a new document starts with none.
    if (isSite("ZRWB") && !document.isNew())
        LoadDepartment(*ui.cboDepartment);
    ui.cboDepartment->Tag = document.department().id;
    ui.cboDepartment->setText(document.department().name);
    ui.cboSection->Tag = document.section().id;
    ui.cboSection->setText(document.section().name);
    ui.txtOfficer->setText(document.officerId());
    ui.lblOfficer->setText(document.officerName());
    ui.txtReqID->setText(document.requesterId());
    ui.lblReqName->setText(document.requesterName());

    // 7. One grid row per line, then the empty entry row; the rows are emptied first so that
    // nothing of the previous document stays behind in them.
    grid.unbind();
    grid.Clear();
    grid.setRows(document.lineCount() + 2);
    grid.setCols(10);
    grid.setRedraw(false);
    for (int i = 0; i < document.lineCount(); ++i) {
        LinesGrid::ShowLine(grid, i + 1, document.lines()[static_cast<size_t>(i)], onHand,
                            lotNumbers);
    }
    grid.setRedraw(true);
    grid.setRow(1);

    // 8.
    ApplyLinesLayout();
    ApplyEditable();
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

void Loading::LoadRequestOrderLines(const QString &number)
{
    Ui::frmMain &ui = *m_c.ui;
    m_form.InitRequestOrderGrid(true);
    {
        db::Recordset lines = sqlconnection().query(RequestOrderLinesStatement(number));
        if (lines.eof())
            ui.fgRO->unbind();
        else
            ui.fgRO->bind(lines);
    }
    m_form.InitRequestOrderGrid(false);
    m_form.UpdateROTotal();
}

std::optional<Loading::RequestOrderHeader> Loading::ReadRequestOrderHeader(const QString &number)
{
    db::Recordset header = sqlconnection().query(RequestOrderHeaderStatement(number));
    if (header.eof())
        return std::nullopt;
    RequestOrderHeader result;
    result.supplying
        = {header.text(QStringLiteral("locationid")), header.text(QStringLiteral("location"))};
    result.requesting = {header.text(QStringLiteral("targetlocationid")),
                         header.text(QStringLiteral("tlocation"))};
    result.number = header.text(QStringLiteral("documentnumber"));
    result.transDate = transDateValue(header.field(QStringLiteral("transdate")));
    result.remarks = header.text(QStringLiteral("Remarks"));
    return result;
}

void Loading::ApplyEditable()
{
    Ui::frmMain &ui = *m_c.ui;
    const RequestDocument &document = m_form.document();
    const bool editable = document.isEditable();
    QString why;
    if (!editable) {
        QString verifier;
        if (!document.stored().verifiedBy.trimmed().isEmpty()) {
            clsEmployee employee;
            if (employee.Search(document.stored().verifiedBy.trimmed()))
                verifier = employee.CompleteName;
        }
        why = document.readOnlyReason(verifier);
    }
    ui.lblReadOnly->setText(why);
    ui.lblReadOnly->setVisible(!editable);
    ui.txtRemarks->setReadOnly(!editable);
    ui.frameEntry->setEnabled(editable);
    for (QWidget *w : std::initializer_list<QWidget *> {
             ui.cmdSave, ui.cmdVerify, ui.cmdVerified, ui.cmdOK, ui.cmdAdd, ui.cmdDelete,
             ui.cmdAddFromPrevious, ui.cmdRemoveRO, ui.txtOfficer, ui.cmdOfficer, ui.txtReqID,
             ui.cmdReq, ui.cboDepartment, ui.cboSection, ui.txtTransDate})
        w->setEnabled(editable);
    if (!editable) {
        ui.cboLocation->setEnabled(false);
        ui.cboTargetLocation->setEnabled(false);
        m_c.txtEntry->hide();
    }
}
