#include "request/MainFormTest.h"

#include "request/LinesGrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using testing_support::MainFormTest;

namespace {

// A new request of the Surgical Ward (19) to the Central Warehouse (21), where insulin (1017)
// has 8 on hand.
class EntryTest : public MainFormTest
{
protected:
    void newRequest(const QString &supplying = QStringLiteral("Central Warehouse"))
    {
        open();
        form->cmdNew_Click();
        auto &location = *child<ui::DataCombo>("cboLocation");
        auto &target = *child<ui::DataCombo>("cboTargetLocation");
        location.setText(supplying);
        target.setText(QStringLiteral("Surgical Ward"));
        form->cboLocation_Validate();
        form->cboTargetLocation_Validate();
        ASSERT_EQ(target.Tag, QStringLiteral("19"));
        prompt.clear();
        statements.clear();
    }

    QLineEdit &field(const char *name) const { return *child<QLineEdit>(name); }

    // Types into a field and leaves it with Enter, as the user does.
    void type(const char *name, const QString &text)
    {
        QLineEdit &box = field(name);
        box.setFocus();
        box.selectAll();
        QTest::keyClicks(&box, text);
        QTest::keyClick(&box, Qt::Key_Return);
    }

    // An item and its quantity, then the Update button.
    void enter(const QString &code, const QString &quantity)
    {
        type("txtProdCode", code);
        type("txtWithdraw", quantity);
        QTest::mouseClick(child<QPushButton>("cmdOK"), Qt::LeftButton);
    }

    QString cell(int row, int col) const { return lines().TextMatrix(row, col); }

    void click(int row, int col)
    {
        ui::FlexGrid &grid = lines();
        const QRect rect = grid.cellGeometry(row, col);
        ASSERT_FALSE(rect.isEmpty());
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          rect.center() - grid.viewport()->geometry().topLeft());
    }
};

// The stock test against the on-hand of 8, site by site.
struct StockCase
{
    const char *site;
    const char *quantity;
    ui::Answer answer; // to a question, when one is asked
    const char *message; // "" when none
    bool added; // to the grid
};

void PrintTo(const StockCase &c, std::ostream *os)
{
    *os << (*c.site ? c.site : "default") << " quantity " << c.quantity;
}

class StockTest : public EntryTest, public ::testing::WithParamInterface<StockCase>
{
};

TEST_P(StockTest, QuantityAgainstOnHand)
{
    const StockCase &c = GetParam();
    setSite(QString::fromLatin1(c.site));
    newRequest();
    prompt.setDefaultAnswer(c.answer);
    enter(QStringLiteral("1017"), QString::fromLatin1(c.quantity));

    EXPECT_EQ(prompt.texts().join(QLatin1Char('|')), QString::fromLatin1(c.message));
    EXPECT_EQ(cell(1, DetailsCol::Code), c.added ? QStringLiteral("1017") : QString());
    EXPECT_EQ(lines().Rows(), c.added ? 3 : 2);
    if (c.added) {
        EXPECT_EQ(cell(1, DetailsCol::Quantity), QString::fromLatin1(c.quantity));
        EXPECT_EQ(cell(1, DetailsCol::UnitCost), QStringLiteral("520.0000"));
        EXPECT_EQ(cell(1, DetailsCol::OnHand), QStringLiteral("8"));
        EXPECT_EQ(lines().Row(), 2);
        EXPECT_FALSE(child<QPushButton>("cmdOK")->isEnabled());
        EXPECT_FALSE(child<QWidget>("cboLocation")->isEnabled());
    }
}

const char *const overStock = "Quantity is greater than current stock.  Do you want to continue?";

INSTANTIATE_TEST_SUITE_P(
    Sites, StockTest,
    ::testing::Values(
        StockCase {"", "8", ui::Answer::Yes, "", true},
        StockCase {"JFX", "8", ui::Answer::Yes, "", true},
        StockCase {"", "9", ui::Answer::No, overStock, false},
        StockCase {"", "9", ui::Answer::Yes, overStock, true},
        StockCase {"JFX", "9", ui::Answer::Yes, "Quantity is greater than current stock!", false},
        StockCase {"UVTKQO", "9", ui::Answer::Yes,
                   "The requested quantity is greater than the current stock|Quantity is greater "
                   "than current stock.  Do you want to continue?",
                   true},
        StockCase {"Q4VH", "9", ui::Answer::Yes,
                   "Quantity is greater than current stock.  Do you want to add item to Request "
                   "Order?",
                   false}),
    [](const ::testing::TestParamInfo<StockCase> &info) {
        return std::string(*info.param.site ? info.param.site : "Default") + "_"
            + info.param.quantity + (info.param.answer == ui::Answer::Yes ? "_Yes" : "_No");
    });

// The unit cost and the retail option proposed for paracetamol (list 2.5, average 2.35,
// a retail item) and for syringes (not retail).
struct ProposalCase
{
    const char *site;
    bool averageCost; // switch 59
    bool retailFromMaster; // switch 96
    const char *code;
    const char *unitCost;
    int retailOption; // the option selected from the master; -1: left to the user
};

void PrintTo(const ProposalCase &c, std::ostream *os)
{
    *os << (*c.site ? c.site : "default") << " 59:" << c.averageCost << " 96:" << c.retailFromMaster
        << " item " << c.code;
}

class ProposalTest : public EntryTest, public ::testing::WithParamInterface<ProposalCase>
{
};

TEST_P(ProposalTest, UnitCostAndRetailOption)
{
    const ProposalCase &c = GetParam();
    setSite(QString::fromLatin1(c.site));
    setSwitch(QStringLiteral("59"), c.averageCost);
    setSwitch(QStringLiteral("96"), c.retailFromMaster);
    newRequest();
    type("txtProdCode", QString::fromLatin1(c.code));

    EXPECT_EQ(field("txtUnitCost").text(), QString::fromLatin1(c.unitCost));
    for (int index : {0, 1}) {
        const auto *option = form->controls().optConsumed[static_cast<size_t>(index)];
        EXPECT_EQ(option->isEnabled(), c.retailOption < 0) << index;
        if (c.retailOption >= 0) {
            EXPECT_EQ(option->isChecked(), index == c.retailOption) << index;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sites, ProposalTest,
                         ::testing::Values(ProposalCase {"", false, false, "1001", "2.5000", -1},
                                           ProposalCase {"", true, false, "1001", "2.3500", -1},
                                           ProposalCase {"ZOLTA", true, false, "1001", "2.5000",
                                                         -1},
                                           ProposalCase {"TKRL", false, false, "1001", "2.5000", 0},
                                           ProposalCase {"TKRL", false, false, "1019", "4.5000", 1},
                                           // The master's retail flag is read at TKRL only.
                                           ProposalCase {"", false, true, "1001", "2.5000", 1}));

TEST_F(EntryTest, RequestOrderTakesTheLineAtQ4VH)
{
    setSite(QStringLiteral("Q4VH"));
    newRequest();
    prompt.answer(ui::Answer::Yes);
    enter(QStringLiteral("1017"), QStringLiteral("12"));

    const ui::FlexGrid &ro = *child<ui::FlexGrid>("fgRO");
    EXPECT_EQ(ro.TextMatrix(1, 0), QStringLiteral("1017"));
    EXPECT_EQ(ro.TextMatrix(1, 3), QStringLiteral("12"));
    EXPECT_EQ(field("txtTotalRO").text(), QStringLiteral("6,240.0000"));
    EXPECT_EQ(field("txtPPMP").text(), QStringLiteral("180"));
    EXPECT_TRUE(cell(1, DetailsCol::Code).isEmpty());

    // The same item again, now within the stock: it is on the list already.
    prompt.clear();
    type("txtWithdraw", QStringLiteral("5"));
    form->cmdOK_Click();
    EXPECT_EQ(prompt.lastText(), QStringLiteral("Item already on Request Order List!"));

    // Masks are on an open request of the ward (MR-0415).
    prompt.clear();
    enter(QStringLiteral("1028"), QStringLiteral("1"));
    EXPECT_EQ(prompt.lastText(),
              QStringLiteral("There is already a pending request for this item!"));

    // Removing the request-order line.
    ui::FlexGrid &orders = *child<ui::FlexGrid>("fgRO");
    const QRect first = orders.cellGeometry(1, 1);
    QTest::mouseClick(orders.viewport(), Qt::LeftButton, {},
                      first.center() - orders.viewport()->geometry().topLeft());
    EXPECT_EQ(field("txtProdCode").text(), QStringLiteral("1017"));
    QTest::mouseClick(child<QPushButton>("cmdRemoveRO"), Qt::LeftButton);
    EXPECT_TRUE(orders.TextMatrix(1, 0).isEmpty());
    EXPECT_EQ(field("txtTotalRO").text(), QStringLiteral("0.0000"));
}

TEST_F(EntryTest, BlockedStockAtBWQ)
{
    // Paracetamol at the warehouse: 500 on hand, 5 damaged and 10 reserved.
    setSite(QStringLiteral("BWQ"));
    newRequest();
    type("txtProdCode", QStringLiteral("1001"));
    // 12 more have expired.
    EXPECT_EQ(field("txtBlockedQty").text(), QStringLiteral("27"));
    type("txtWithdraw", QStringLiteral("473"));
    form->cmdOK_Click();
    EXPECT_EQ(prompt.lastText(),
              QStringLiteral("Quantity includes Blocked Stocks! Change Quantity."));
    EXPECT_TRUE(cell(1, DetailsCol::Code).isEmpty());

    prompt.clear();
    type("txtWithdraw", QStringLiteral("472"));
    form->cmdOK_Click();
    EXPECT_TRUE(prompt.texts().isEmpty()) << prompt.lastText().toStdString();
    EXPECT_EQ(cell(1, DetailsCol::Quantity), QStringLiteral("472"));
}

TEST_F(EntryTest, QuantityAndUnitCostChecks)
{
    newRequest();
    type("txtProdCode", QStringLiteral("1001"));
    // A quantity of 0 is refused before the unit cost is looked at.
    field("txtUnitCost").setText(QStringLiteral("X"));
    field("txtWithdraw").setText(QStringLiteral("0"));
    form->cmdOK_Click();
    EXPECT_EQ(prompt.texts(), QStringList {QStringLiteral("Please enter a value for Quantity.")});

    // Decimals are rounded on leaving; a unit cost of 0 is accepted.
    type("txtWithdraw", QStringLiteral("2.6"));
    EXPECT_EQ(field("txtWithdraw").text(), QStringLiteral("3"));
    type("txtUnitCost", QStringLiteral("0"));
    EXPECT_EQ(field("txtUnitCost").text(), QStringLiteral("0.00"));
    prompt.clear();
    form->cmdOK_Click();
    EXPECT_TRUE(prompt.texts().isEmpty()) << prompt.lastText().toStdString();
    EXPECT_EQ(cell(1, DetailsCol::Quantity), QStringLiteral("3"));
    EXPECT_EQ(cell(1, DetailsCol::TotalCost), QStringLiteral("0.0000"));

    // The same item again is refused.
    type("txtProdCode", QStringLiteral("1001"));
    type("txtWithdraw", QStringLiteral("1"));
    prompt.clear();
    form->cmdOK_Click();
    EXPECT_EQ(prompt.lastText(),
              QStringLiteral("Item is already entered.  Please select another item!"));
    EXPECT_EQ(lines().Rows(), 3);
}

TEST_F(EntryTest, UpdateKeepsTheRow)
{
    newRequest();
    enter(QStringLiteral("1001"), QStringLiteral("5"));
    enter(QStringLiteral("1002"), QStringLiteral("6"));
    ASSERT_EQ(lines().Rows(), 4);

    // Without switch 92 the quantity is changed in the entry, not in the cell.
    click(1, DetailsCol::Quantity);
    EXPECT_FALSE(child<QLineEdit>("txtEntry")->isVisible());
    EXPECT_EQ(child<QPushButton>("cmdOK")->text(), QStringLiteral("Update"));
    EXPECT_EQ(field("txtProdCode").text(), QStringLiteral("1001"));
    EXPECT_EQ(field("txtWithdraw").text(), QStringLiteral("5"));
    type("txtWithdraw", QStringLiteral("7"));
    form->cmdOK_Click();

    EXPECT_TRUE(prompt.texts().isEmpty()) << prompt.lastText().toStdString();
    EXPECT_EQ(lines().Rows(), 4);
    EXPECT_EQ(cell(1, DetailsCol::Quantity), QStringLiteral("7"));
    EXPECT_EQ(cell(2, DetailsCol::Code), QStringLiteral("1002"));
    // The entry is ready for the next item, on the empty last row.
    EXPECT_EQ(lines().Row(), 3);
    EXPECT_EQ(child<QPushButton>("cmdOK")->text(), QStringLiteral("Add to List"));
    EXPECT_TRUE(field("txtProdCode").text().isEmpty());
    EXPECT_EQ(field("txtTotalCounter").text(), QStringLiteral("53.5000"));
}

TEST_F(EntryTest, AnOpenedDocumentShowsTheLineThatUpdateChanges)
{
    newRequest();
    type("txtProdCode", QStringLiteral("1017"));
    prompt.answer(ui::Answer::Yes);
    form->cmdCancel_Click();
    selectListed(QStringLiteral("1001"));
    form->cmdEdit_Click();

    EXPECT_EQ(child<QPushButton>("cmdOK")->text(), QStringLiteral("Update"));
    EXPECT_EQ(field("txtProdCode").text(), QStringLiteral("1019"));
    EXPECT_EQ(field("txtWithdraw").text(), QStringLiteral("50"));
    type("txtWithdraw", QStringLiteral("40"));
    form->cmdOK_Click();
    EXPECT_EQ(cell(1, DetailsCol::Code), QStringLiteral("1019"));
    EXPECT_EQ(cell(1, DetailsCol::Quantity), QStringLiteral("40"));
    EXPECT_EQ(lines().Rows(), 5);
}

TEST_F(EntryTest, TheLookupButtonSearchesTheTypedText)
{
    newRequest();
    QLineEdit &code = field("txtProdCode");
    code.setFocus();
    QTest::keyClicks(&code, QStringLiteral("syr"));
    QString listed;
    modal.expect([&listed](QDialog &dialog) {
        auto &grid = *dialog.findChild<ui::FlexGrid *>(QStringLiteral("grdLookup"));
        // Both syringes; the second is taken.
        listed = grid.TextMatrix(1, 0) + QLatin1Char(',') + grid.TextMatrix(2, 0);
        grid.setRow(2);
        dialog.findChild<QPushButton *>(QStringLiteral("cmdOptions_1"))->click();
    });
    QTest::mouseClick(child<QPushButton>("cmdCode"), Qt::LeftButton);

    EXPECT_EQ(modal.shown(), QStringList {QStringLiteral("frmItemLookup")});
    EXPECT_EQ(listed, QStringLiteral("1019,1020"));
    EXPECT_EQ(code.text(), QStringLiteral("1020"));
    EXPECT_EQ(field("txtProdName").text(),
              QStringLiteral("SYRINGE 5ML DISPOSABLE WITH NEEDLE G23"));
    EXPECT_EQ(field("txtUnitCost").text(), QStringLiteral("5.2500"));
}

TEST_F(EntryTest, BarCodeBecomesTheItemCode)
{
    newRequest();
    type("txtProdCode", QStringLiteral("4800001000141"));
    EXPECT_EQ(field("txtProdCode").text(), QStringLiteral("1014"));
    EXPECT_EQ(field("txtProdName").text(), QStringLiteral("CEFTRIAXONE 1G VIAL"));
    EXPECT_EQ(field("txtOnhand").text(), QStringLiteral("500"));
    EXPECT_TRUE(child<QPushButton>("cmdOK")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), &field("txtWithdraw"));
}

TEST_F(EntryTest, ReturnLooksUpAtTheRequestingLocation)
{
    // A return, as the type dialog gives it.
    setSwitch(QStringLiteral("91"), true);
    modal.expect([](QDialog &dialog) {
        dialog.findChild<QPushButton *>(QStringLiteral("cmdInvRequest_1"))->click();
    });
    newRequest();
    ASSERT_FALSE(form->document().isRequest());
    // The type dialog had the focus; the form is the active window again.
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    type("txtProdCode", QStringLiteral("1017"));
    const QStringList lookups = sentLike(QStringLiteral("sp_Inv_SearchItem_In_Invent"));
    ASSERT_FALSE(lookups.isEmpty());
    EXPECT_EQ(lookups.first(),
              QStringLiteral("Inventory..sp_Inv_SearchItem_In_Invent '1017','19'"));
    EXPECT_EQ(field("txtOnhand").text(), QStringLiteral("15"));
}

TEST_F(EntryTest, CellEditorTakesDigitsOnly)
{
    setSwitch(QStringLiteral("92"), true);
    newRequest();
    // Entry is hidden with switch 92: the line comes as the pickers write it.
    ui::FlexGrid &grid = lines();
    RequestLine line;
    line.itemId = QStringLiteral("1001");
    line.description = QStringLiteral("PARACETAMOL 500MG TABLET");
    line.quantity = 4;
    line.unitCost = format::Currency::fromText(QStringLiteral("2.5"));
    line.onHand = QStringLiteral("20");
    form->linesGrid().PutLine(1, line);

    click(1, DetailsCol::Quantity);
    QLineEdit &editor = *child<QLineEdit>("txtEntry");
    ASSERT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.text(), QStringLiteral("4"));

    // With pharmacy switch 5 no more than the stock on hand of the line.
    sql(QStringLiteral("UPDATE INVENTORY..tbPharmaSwitch SET KeyValue = 1 WHERE idkey = '5'"));
    editor.selectAll();
    QTest::keyClicks(&editor, QStringLiteral("21"));
    QTest::keyClick(&editor, Qt::Key_Return);
    EXPECT_EQ(prompt.lastText(),
              QStringLiteral("Quantity must be less than or equal to Current Stock..."));
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(grid.TextMatrix(1, DetailsCol::Quantity), QStringLiteral("4"));
    sql(QStringLiteral("UPDATE INVENTORY..tbPharmaSwitch SET KeyValue = 0 WHERE idkey = '5'"));

    editor.selectAll();
    QTest::keyClicks(&editor, QStringLiteral("1a.-2"));
    EXPECT_EQ(editor.text(), QStringLiteral("12"));
    QTest::keyClick(&editor, Qt::Key_Return);

    EXPECT_EQ(grid.TextMatrix(1, DetailsCol::Quantity), QStringLiteral("12"));
    EXPECT_EQ(grid.TextMatrix(1, DetailsCol::TotalCost), QStringLiteral("30"));
    EXPECT_EQ(field("txtTotalCounter").text(), QStringLiteral("30.0000"));
    // The next row has no line: the editor closes.
    EXPECT_FALSE(editor.isVisible());
}

TEST_F(EntryTest, DeletingTheOnlyLineKeepsTwoRows)
{
    newRequest();
    enter(QStringLiteral("1001"), QStringLiteral("5"));
    ASSERT_EQ(lines().Rows(), 3);
    click(1, DetailsCol::Description);
    QTest::keyClick(&lines(), Qt::Key_Delete);

    EXPECT_EQ(lines().Rows(), 2);
    EXPECT_TRUE(cell(1, DetailsCol::Code).isEmpty());
    EXPECT_TRUE(field("txtProdCode").text().isEmpty());
    EXPECT_EQ(field("txtTotalCounter").text(), QStringLiteral("0.0000"));
    // With no line left the locations may be changed again.
    EXPECT_TRUE(child<QWidget>("cboLocation")->isEnabled());
}

} // namespace
