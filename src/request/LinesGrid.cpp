#include "request/LinesGrid.h"

#include "platform/format/Format.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/KeyboardRule.h"
#include "platform/ui/Prompt.h"
#include "platform/ui/ValidateOnLeave.h"
#include "request/EventHook.h"
#include "request/FormHelpers.h"
#include "request/Guarded.h"
#include "request/LineChecks.h"
#include "request/RequestDocument.h"
#include "request/frmMain.h"
#include "session/Inventory.h"
#include "session/Session.h"
#include "ui_frmMain.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <algorithm>

namespace {

// The sum of a grid column over its data rows, each numeric cell taken to four decimals.
format::Currency columnSum(const ui::FlexGrid &grid, int col)
{
    format::Currency sum;
    for (int row = 1; row < grid.Rows(); ++row) {
        const QString text = grid.TextMatrix(row, col);
        if (format::isNumeric(text))
            sum += format::Currency::fromText(
                format::formatNumber(format::numericValue(text), QStringLiteral("########0.0000")));
    }
    return sum;
}

// fgRO's columns as the entry fills them.
namespace ro_col {
enum : int { Code = 0, Description = 1, UOM = 2, Qty = 3, UnitCost = 4, TotalCost = 5 };
}

void focusIfShown(QWidget *widget)
{
    if (widget->isVisible() && widget->isEnabled())
        widget->setFocus();
}

// Copies every row after the given one a row up; the grid then loses its last row, or, when it
// is down to the header and one row, that row is emptied, so the deleted line never stays.
void removeRow(ui::FlexGrid &grid, int row)
{
    const int rows = grid.Rows();
    for (int r = row; r < rows - 1; ++r) {
        for (int col = 0; col < grid.Cols(); ++col)
            grid.setTextMatrix(r, col, grid.TextMatrix(r + 1, col));
    }
    if (rows >= 3) {
        grid.setRows(rows - 1);
    } else {
        for (int col = 0; col < grid.Cols(); ++col)
            grid.setTextMatrix(rows - 1, col, QString());
    }
}

} // namespace

bool IsInGrid(const ui::FlexGrid &grid, const QString &code, int column, int &row)
{
    for (int r = 1; r < grid.Rows(); ++r) {
        if (grid.TextMatrix(r, column) == code) {
            row = r;
            return true;
        }
    }
    return false;
}

LinesGrid::LinesGrid(frmMain &form)
    : m_form(form)
    , m_c(form.controls())
    , m_flags(form.flags())
{ }

void LinesGrid::UpdateGrandTotal()
{
    const format::Currency sum = m_form.document().total();
    m_c.ui->txtTotalCounter->setText(
        format::formatNumber(sum.toDouble(), QStringLiteral("###,###,##0.0000")));
}

void LinesGrid::UpdateLineCounter()
{
    const ui::FlexGrid &grid = *m_c.ui->grdDetails;
    m_c.ui->txtLineCounter->setText(format::numberTextStd(grid.Row()) + QLatin1Char('/')
                                    + format::numberTextStd(grid.Rows() - 1));
}

void LinesGrid::LockLocations()
{
    Ui::frmMain &ui = *m_c.ui;
    if (ui.txtDocNum->text() != QLatin1String("NEW"))
        return;
    const bool noLines = m_form.document().lines().empty();
    ui.cboLocation->setEnabled(noLines);
    // The requesting location stays locked where the site locks it for good.
    if (!isSite("YXOPL"))
        ui.cboTargetLocation->setEnabled(noLines);
}

void LinesGrid::cmdDetails_Click()
{
    m_flags.IsNewDocument = false;
    const ui::FlexGrid &listing = *m_c.ui->grdListing;
    if (!listing.isEnabled())
        return;
    const int row = listing.Row();
    if (row < 1 || listing.TextMatrix(row, 1).isEmpty())
        return;
    if (IsUserAuthorized(Employeecode(), listing.TextMatrix(row, 6), listing.TextMatrix(row, 7)))
        m_c.ui->SSTab1->setCurrentIndex(1);
}

void LinesGrid::InitRequestOrderGrid(bool clear)
{
    ui::FlexGrid &grid = *m_c.ui->fgRO;
    if (clear)
        grid.Clear();
    grid.setFormatString(
        QStringLiteral("<Code |< Item Description                   |<UOM   |<Qty  "
                       "|<Unit Cost |<Total Cost "));
    grid.setColWidth(2, 0);
    grid.setRows(100);
}

void LinesGrid::UpdateROTotal()
{
    // The request-order frame's grand total adds up the lines' total costs (column 5); the unit
    // costs of different items do not add up to anything the store room could use.
    const format::Currency sum = columnSum(*m_c.ui->fgRO, ro_col::TotalCost);
    m_c.ui->txtTotalRO->setText(
        format::formatNumber(sum.toDouble(), QStringLiteral("###,###,##0.0000")));
}

void LinesGrid::focusCodeField()
{
    if (!m_keepGridFocus)
        focusIfShown(m_c.ui->txtProdCode);
}

void LinesGrid::grdDetailsToText()
{
    Ui::frmMain &ui = *m_c.ui;
    const ui::FlexGrid &grid = *ui.grdDetails;
    m_flags.IsNewLine = grid.TextMatrix(grid.Row(), DetailsCol::Code).isEmpty();
    ui.cmdOK->setText(m_flags.IsNewLine ? QStringLiteral("Add to List") : QStringLiteral("Update"));
    LoadLineToEntry(false);
    focusCodeField();
    UpdateLineCounter();
}

void LinesGrid::LoadLineToEntry(bool FromRequestOrder)
{
    Ui::frmMain &ui = *m_c.ui;
    if (FromRequestOrder) {
        const ui::FlexGrid &ro = *ui.fgRO;
        const int row = ro.Row();
        const QString code = ro.TextMatrix(row, ro_col::Code);
        ui.cmdOK->setText(code.isEmpty() ? QStringLiteral("Add to List")
                                         : QStringLiteral("Update"));
        ui.txtProdCode->setText(code);
        ui.txtProdName->setText(ro.TextMatrix(row, ro_col::Description));
        ui.txtWithdraw->setText(ro.TextMatrix(row, ro_col::Qty));
        ui.txtUnitCost->setText(ro.TextMatrix(row, ro_col::UnitCost));
        ui.txtTotalCost->setText(ro.TextMatrix(row, ro_col::TotalCost));
        if (isSite("Q4VH"))
            m_form.LoadPPMP(code);
        return;
    }

    const ui::FlexGrid &grid = *ui.grdDetails;
    const int row = grid.Row();
    const auto cell = [&grid, row](int col) {
        return grid.TextMatrix(row, col);
    };
    const QString code = cell(DetailsCol::Code);
    m_flags.IsNewLine = code.isEmpty();
    if (!code.isEmpty()) {
        ui.cmdOK->setText(QStringLiteral("Update"));
        ui.txtProdCode->setText(code);
        ui.txtProdName->setText(cell(DetailsCol::Description));
        ui.txtWithdraw->setText(cell(DetailsCol::Quantity));
        ui.txtUnitCost->setText(cell(DetailsCol::UnitCost));
        ui.txtTotalCost->setText(cell(DetailsCol::TotalCost));
        if (isSite("Q4VH"))
            m_form.LoadPPMP(code);
        // An option the site has switched off keeps its state.
        QRadioButton *retail
            = m_c.optConsumed[cell(DetailsCol::Retail) == QLatin1String("N") ? 1 : 0];
        if (retail->isEnabled())
            retail->setChecked(true);
        ui.chkAdS->setChecked(cell(DetailsCol::isADS) == QLatin1String("Y"));
        if (isSite("BWQ"))
            m_form.LoadBlockedQty();
        if (GetInvSwitch(QStringLiteral("91")))
            ui.txtLotNumber->setText(cell(DetailsCol::LotNumber));
    } else {
        ui.cmdOK->setText(QStringLiteral("Add to List"));
        ui.txtProdCode->clear();
        ui.txtProdName->clear();
        ui.txtWithdraw->clear();
        ui.txtUnitCost->clear();
        ui.txtTotalCost->clear();
        ui.chkAdS->setChecked(false);
        if (GetInvSwitch(QStringLiteral("91")))
            ui.txtLotNumber->clear();
    }
    m_form.ShowItemDetails();
}

void LinesGrid::ShowLastRow()
{
    ui::FlexGrid &grid = *m_c.ui->grdDetails;
    const QScopedValueRollback<bool> moving(m_moving, true);
    const int last = grid.Rows() - 1;
    grid.setRow(last);
    if (last >= 8)
        grid.setTopRow(grid.Rows() - 7);
}

void LinesGrid::cmdAdd_Click()
{
    ShowLastRow();
    LoadLineToEntry(false);
    focusCodeField();
}

void LinesGrid::cmdDelete_Click()
{
    Ui::frmMain &ui = *m_c.ui;
    ui::FlexGrid &grid = *ui.grdDetails;
    if (!m_form.document().isEditable()
        || grid.TextMatrix(grid.Row(), DetailsCol::Description).isEmpty())
        return;
    {
        const QScopedValueRollback<bool> moving(m_moving, true);
        const int row = grid.Row();
        removeRow(grid, row);
        m_form.document().removeLine(row - 1);
        grid.setFocus();
        grid.setRow(grid.Rows() - 1);
    }
    LoadLineToEntry(false);
    UpdateGrandTotal();
    UpdateLineCounter();
    LockLocations();
}

void LinesGrid::cmdRemoveRO_Click()
{
    ui::FlexGrid &ro = *m_c.ui->fgRO;
    if (ro.TextMatrix(ro.Row(), ro_col::Description).isEmpty())
        return;
    removeRow(ro, ro.Row());
    ro.setFocus();
    ro.setRow(ro.Rows() - 1);
    LoadLineToEntry(true);
    UpdateROTotal();
    TakeRequestOrders();
}

void LinesGrid::TakeRequestOrders()
{
    m_form.document().setRequestOrders(RequestOrdersOnGrid());
}

std::vector<RequestOrderLine> LinesGrid::RequestOrdersOnGrid() const
{
    const ui::FlexGrid &ro = *m_c.ui->fgRO;
    std::vector<RequestOrderLine> lines;
    for (int row = 1; row < ro.Rows(); ++row) {
        if (ro.TextMatrix(row, ro_col::Code).isEmpty()
            && ro.TextMatrix(row, ro_col::Description).isEmpty())
            continue;
        lines.push_back({ro.TextMatrix(row, ro_col::Code), ro.TextMatrix(row, ro_col::Description),
                         ro.TextMatrix(row, ro_col::Qty), ro.TextMatrix(row, ro_col::UnitCost),
                         ro.TextMatrix(row, ro_col::TotalCost)});
    }
    return lines;
}

int LinesGrid::PutLine(int row, const RequestLine &line)
{
    ui::FlexGrid &grid = *m_c.ui->grdDetails;
    // Lines fill the grid from row 1 on; a row past them adds a line.
    const int index = m_form.document().setLine(row - 1, line);
    row = index + 1;
    // The grid always ends with one empty row.
    if (row >= grid.Rows() - 1)
        grid.setRows(row + 2);
    ShowLine(grid, row, line);
    return row;
}

void LinesGrid::ShowLine(ui::FlexGrid &grid, int row, const RequestLine &line, bool onHand,
                         bool lotNumber)
{
    grid.setTextMatrix(row, DetailsCol::Code, line.itemId);
    grid.setTextMatrix(row, DetailsCol::Description, line.description);
    grid.setTextMatrix(row, DetailsCol::UOM, line.uom);
    grid.setTextMatrix(row, DetailsCol::Quantity, format::numberText(line.quantity));
    grid.setTextMatrix(row, DetailsCol::UnitCost, line.unitCost.toString());
    grid.setTextMatrix(row, DetailsCol::TotalCost, line.totalCost().toString());
    grid.setTextMatrix(row, DetailsCol::Retail, line.retail);
    grid.setTextMatrix(row, DetailsCol::isADS,
                       line.ads ? QStringLiteral("Y") : QStringLiteral("N"));
    if (onHand)
        grid.setTextMatrix(row, DetailsCol::OnHand, line.onHand);
    if (lotNumber)
        grid.setTextMatrix(row, DetailsCol::LotNumber, line.lotNumber);
}

RequestLine LinesGrid::EntryLine() const
{
    const Ui::frmMain &ui = *m_c.ui;
    RequestLine line;
    line.itemId = ui.txtProdCode->text();
    line.description = ui.txtProdName->text();
    line.quantity = format::typedNumber(ui.txtWithdraw->text());
    line.unitCost = format::Currency::fromDouble(format::typedNumber(ui.txtUnitCost->text()));
    line.retail = m_c.optConsumed[0]->isChecked() ? QStringLiteral("Y") : QStringLiteral("N");
    line.ads = ui.chkAdS->isChecked();
    line.onHand = ui.txtOnhand->text();
    if (GetInvSwitch(QStringLiteral("91")))
        line.lotNumber = ui.txtLotNumber->text();
    return line;
}

void LinesGrid::WriteEntry()
{
    Ui::frmMain &ui = *m_c.ui;
    ui::FlexGrid &grid = *ui.grdDetails;
    // 1.
    int row = grid.Row();
    if (ui.cmdOK->text() != QLatin1String("Update")) {
        for (int r = 1; r < grid.Rows(); ++r) {
            if (grid.TextMatrix(r, DetailsCol::Code).isEmpty()) {
                row = r;
                break;
            }
        }
    }
    // 2. The line goes into the document; the grid shows the figures as they were typed.
    const RequestLine line = EntryLine();
    row = m_form.document().setLine(row - 1, line) + 1;
    grid.setTextMatrix(row, DetailsCol::Code, ui.txtProdCode->text());
    grid.setTextMatrix(row, DetailsCol::Description, ui.txtProdName->text());
    grid.setTextMatrix(row, DetailsCol::Quantity, ui.txtWithdraw->text());
    grid.setTextMatrix(row, DetailsCol::UnitCost, ui.txtUnitCost->text());
    grid.setTextMatrix(row, DetailsCol::TotalCost, ui.txtTotalCost->text());
    grid.setTextMatrix(row, DetailsCol::Retail,
                       m_c.optConsumed[0]->isChecked() ? QStringLiteral("Y") : QStringLiteral("N"));
    grid.setTextMatrix(row, DetailsCol::isADS,
                       ui.chkAdS->isChecked() ? QStringLiteral("Y") : QStringLiteral("N"));
    grid.setTextMatrix(row, DetailsCol::OnHand, ui.txtOnhand->text());
    if (GetInvSwitch(QStringLiteral("91")))
        grid.setTextMatrix(row, DetailsCol::LotNumber, ui.txtLotNumber->text());

    // 3. The grid always ends with one empty row.
    if (row == grid.Rows() - 1) {
        grid.setRows(grid.Rows() + 1);
        ShowLastRow();
        LoadLineToEntry(false);
        focusCodeField();
        m_flags.IsNewLine = true;
        return;
    }
    // 4. The last free row becomes current, and the entry follows it, so that the next add
    // cannot write the changed line a second time.
    {
        const QScopedValueRollback<bool> moving(m_moving, true);
        for (int r = 1; r < grid.Rows(); ++r) {
            if (grid.TextMatrix(r, DetailsCol::Code).isEmpty())
                grid.setRow(r);
        }
        grid.setFocus();
    }
    grdDetailsToText();
}

void LinesGrid::AddToRequestOrder()
{
    Ui::frmMain &ui = *m_c.ui;
    ui::FlexGrid &ro = *ui.fgRO;
    for (int row = 1; row < ro.Rows(); ++row) {
        if (!ro.TextMatrix(row, ro_col::Code).isEmpty())
            continue;
        ro.setTextMatrix(row, ro_col::Code, ui.txtProdCode->text());
        ro.setTextMatrix(row, ro_col::Description, ui.txtProdName->text());
        ro.setTextMatrix(row, ro_col::Qty, ui.txtWithdraw->text());
        ro.setTextMatrix(row, ro_col::UnitCost, ui.txtUnitCost->text());
        ro.setTextMatrix(row, ro_col::TotalCost, ui.txtTotalCost->text());
        break;
    }
    UpdateROTotal();
    TakeRequestOrders();
}

bool LinesGrid::IsOnRequestOrderList() const
{
    int row = 0;
    return IsInGrid(*m_c.ui->fgRO, m_c.ui->txtProdCode->text(), ro_col::Code, row);
}

void LinesGrid::installHooks()
{
    Ui::frmMain &ui = *m_c.ui;
    new EventHook(ui.grdDetails, [this](QEvent *event) { return grdDetails_Event(event); });
    // The editor takes digits only and handles Enter and the arrows itself.
    ui::setKeyboardRuleExempt(m_c.txtEntry);
    new EventHook(m_c.txtEntry, [this](QEvent *event) { return txtEntry_Event(event); });
}

bool LinesGrid::grdDetails_Event(QEvent *event)
{
    // The grid got the focus from the keyboard or the program; a click selects its own cell.
    if (event->type() == QEvent::FocusIn && !m_moving
        && static_cast<QFocusEvent *>(event)->reason() != Qt::MouseFocusReason)
        guarded([this] { grdDetailsToText(); });
    return false;
}

void LinesGrid::grdDetails_KeyDown(int key, int modifiers, bool *handled)
{
    Ui::frmMain &ui = *m_c.ui;
    if (key == Qt::Key_Delete) {
        *handled = true;
        // A key is easily pressed by mistake: the line is named and the user confirms.
        const ui::FlexGrid &grid = *ui.grdDetails;
        const int row = grid.Row();
        if (grid.TextMatrix(row, DetailsCol::Description).isEmpty())
            return;
        const QString line = (grid.TextMatrix(row, DetailsCol::Code) + QLatin1Char(' ')
                              + grid.TextMatrix(row, DetailsCol::Description))
                                 .trimmed();
        if (ui::msgBox(QStringLiteral("Delete line %1 (%2)?").arg(row).arg(line),
                       ui::Buttons::YesNo, ui::Icon::Question, QStringLiteral("Message"))
            == ui::Answer::Yes)
            cmdDelete_Click();
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        *handled = true;
        LoadLineToEntry(false);
        focusIfShown(ui.txtProdCode);
        UpdateLineCounter();
        return;
    }
    // A typed character opens the editor as a click does.
    constexpr int commandModifiers = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde && !(modifiers & commandModifiers)) {
        *handled = true;
        OpenEditor();
    }
}

void LinesGrid::grdDetails_Click()
{
    // A click chooses the line and leaves the focus on the grid, where Delete acts on it.
    const QScopedValueRollback<bool> keep(m_keepGridFocus, true);
    grdDetailsToText();
    ui::FlexGrid &grid = *m_c.ui->grdDetails;
    if (!grid.hasFocus() && grid.isVisible()) {
        // Leaving the code box for the click moved on to the quantity; the entry now shows the
        // clicked line, so there is nothing left to check on the way back to the grid.
        const QScopedValueRollback<bool> moving(m_moving, true);
        ui::setCausesValidation(&grid, false);
        grid.setFocus(Qt::MouseFocusReason);
        ui::setCausesValidation(&grid, true);
    }
    OpenEditor();
}

void LinesGrid::grdDetails_RowColChange()
{
    // The user moved the cell with the keys; a click is handled once it is complete.
    const ui::FlexGrid &grid = *m_c.ui->grdDetails;
    if (m_moving || !grid.hasFocus() || grid.isClicking()
        || QGuiApplication::mouseButtons() != Qt::NoButton)
        return;
    grdDetailsToText();
}

void LinesGrid::fgRO_Click()
{
    LoadLineToEntry(true);
}

void LinesGrid::OpenEditor()
{
    ui::FlexGrid &grid = *m_c.ui->grdDetails;
    QLineEdit &editor = *m_c.txtEntry;
    const int row = grid.Row();
    if (!m_form.document().isEditable() || !GetInvSwitch(QStringLiteral("92"))
        || grid.Col() != DetailsCol::Quantity
        || grid.TextMatrix(row, DetailsCol::Description).isEmpty()) {
        HideEditor();
        return;
    }
    const QRect cell = grid.cellGeometry(row, DetailsCol::Quantity);
    editor.setText(grid.TextMatrix(row, DetailsCol::Quantity));
    if (!cell.isEmpty())
        editor.setGeometry(cell.translated(-grid.viewport()->geometry().topLeft()));
    editor.show();
    editor.raise();
    editor.setFocus();
    editor.selectAll();
}

void LinesGrid::HideEditor()
{
    QLineEdit &editor = *m_c.txtEntry;
    if (!editor.isVisible())
        return;
    const bool hadFocus = editor.hasFocus();
    editor.hide();
    if (hadFocus) {
        const QScopedValueRollback<bool> moving(m_moving, true);
        m_c.ui->grdDetails->setFocus();
    }
}

bool LinesGrid::txtEntry_Event(QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        // Leaving the editor without Enter drops what was typed; a message box over the form
        // (another window active) leaves it open.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (!m_moving && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            m_c.txtEntry->hide();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        guarded([this] { txtEntry_Enter(); });
        return true;
    case Qt::Key_Up:
        MoveEditor(-1);
        return true;
    case Qt::Key_Down:
        MoveEditor(1);
        return true;
    case Qt::Key_Backspace:
        return false;
    default:
        break;
    }
    // Only digits are typed; keys that type nothing (the arrows, Delete) edit as usual.
    const QString text = key->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    return !(text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9'));
}

void LinesGrid::txtEntry_Enter()
{
    ui::FlexGrid &grid = *m_c.ui->grdDetails;
    const int row = grid.Row();
    if (grid.TextMatrix(row, DetailsCol::Code).isEmpty() || row < 1
        || row > m_form.document().lineCount()) {
        HideEditor();
        return;
    }
    // A whole quantity of at least one, typed or pasted, with or without thousands separators.
    double quantity = 0;
    if (!line_limits::checkCellQuantity(m_c.txtEntry->text(), quantity)) {
        m_c.txtEntry->setFocus();
        return;
    }
    if (GetPharmaSwitch(QStringLiteral("5"))
        && quantity > format::typedNumber(grid.TextMatrix(row, DetailsCol::OnHand))) {
        ui::msgBox(QStringLiteral("Quantity must be less than or equal to Current Stock..."),
                   ui::Buttons::Ok, ui::Icon::Information, QStringLiteral("MESSAGE"));
        m_c.txtEntry->setFocus();
        return;
    }
    const double unitCost
        = m_form.document().lines()[static_cast<size_t>(row - 1)].unitCost.toDouble();
    if (unitCost * quantity > line_limits::MaxAmount) {
        ui::msgBox(line_limits::totalCostRule(), ui::Buttons::Ok, ui::Icon::Information,
                   QStringLiteral("MESSAGE"));
        m_c.txtEntry->setFocus();
        return;
    }
    m_form.document().setQuantity(row - 1, quantity);
    grid.setTextMatrix(row, DetailsCol::Quantity,
                       format::formatNumber(quantity, QStringLiteral("#########0")));
    const RequestLine &line = m_form.document().lines()[static_cast<size_t>(row - 1)];
    grid.setTextMatrix(row, DetailsCol::TotalCost, format::numberText(line.totalCost().toDouble()));
    UpdateGrandTotal();
    if (row < grid.Rows() - 1) {
        MoveEditor(1);
        return;
    }
    HideEditor();
}

void LinesGrid::MoveEditor(int step)
{
    ui::FlexGrid &grid = *m_c.ui->grdDetails;
    const int row = std::clamp(grid.Row() + step, 1, grid.Rows() - 1);
    {
        const QScopedValueRollback<bool> moving(m_moving, true);
        grid.setRow(row);
        grid.setCol(DetailsCol::Quantity);
    }
    UpdateLineCounter();
    const QScopedValueRollback<bool> moving(m_moving, true);
    OpenEditor();
}
