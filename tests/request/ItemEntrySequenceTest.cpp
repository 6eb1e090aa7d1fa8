// The item entry over several items in a row: what one look-up leaves for the next, Update after
// a failed look-up, numbers as users type them, the keyboard-only flow and kits. Judged by the
// lines on the form, the messages shown and what a save stores.
#include "request/MainFormTest.h"

#include "pickers/frmKitEntry.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <functional>

using testing_support::MainFormTest;

namespace {

const QString notFoundZZZ = QStringLiteral("No item matches \"ZZZ\" at Central Warehouse.");
const QString quantityRule
    = QStringLiteral("Quantity must be a whole number from 1 to 999,999,999,999,999.");
const QString costRule
    = QStringLiteral("Unit Cost must be a number from 0 to 99,999,999,999.9999.");
const QString totalRule = QStringLiteral(
    "Total Cost (Quantity x Unit Cost) must not be more than 99,999,999,999.9999.");

// A new request of the Surgical Ward (19) to the Central Warehouse (21), which stocks every
// item: 500 of most, 8 of insulin (1017); sodium chloride (1011) is ADS stock there.
class EntrySequenceTest : public MainFormTest
{
protected:
    void newRequest()
    {
        if (!form)
            open();
        form->cmdNew_Click();
        auto &location = *child<ui::DataCombo>("cboLocation");
        auto &target = *child<ui::DataCombo>("cboTargetLocation");
        location.setText(QStringLiteral("Central Warehouse"));
        target.setText(QStringLiteral("Surgical Ward"));
        form->cboLocation_Validate();
        form->cboTargetLocation_Validate();
        child<QPlainTextEdit>("txtRemarks")->setPlainText(QStringLiteral("Ward stock"));
        ASSERT_EQ(target.Tag, QStringLiteral("19"));
        prompt.clear();
    }

    QLineEdit &field(const char *name) const { return *child<QLineEdit>(name); }
    QString text(const char *name) const { return field(name).text(); }
    QPushButton &addButton() const { return *child<QPushButton>("cmdOK"); }

    // Types into a field and leaves it with Enter, as the user does.
    void type(const char *name, const QString &value)
    {
        QLineEdit &box = field(name);
        box.setFocus();
        box.selectAll();
        // What the keyboard cannot type is pasted.
        const bool typable
            = std::all_of(value.begin(), value.end(), [](QChar ch) { return ch.unicode() < 128; });
        if (typable)
            QTest::keyClicks(&box, value);
        else
            box.insert(value);
        QTest::keyClick(&box, Qt::Key_Return);
    }

    // Keys into whatever has the focus, as a scanner or a user who never takes the mouse.
    void keys(const QString &value, bool enter = true)
    {
        QWidget *focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        if (!value.isEmpty())
            QTest::keyClicks(focus, value);
        if (enter)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

    void enter(const QString &code, const QString &quantity)
    {
        type("txtProdCode", code);
        type("txtWithdraw", quantity);
        QTest::mouseClick(&addButton(), Qt::LeftButton);
    }

    QStringList codes() const
    {
        QStringList found;
        for (int row = 1; row < lines().Rows(); ++row)
            found << lines().TextMatrix(row, DetailsCol::Code);
        return found;
    }

    void clickCell(int row, int col)
    {
        ui::FlexGrid &grid = lines();
        const QRect rect = grid.cellGeometry(row, col);
        ASSERT_FALSE(rect.isEmpty());
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          rect.center() - grid.viewport()->geometry().topLeft());
    }

    // Saves the document and gives its stored lines, each "ItemID|Quantity|UnitCost|isADS".
    QStringList save()
    {
        const QStringList before = documentNumbers();
        form->cmdSave_Click();
        QStringList added;
        for (const QString &number : documentNumbers())
            if (!before.contains(number))
                added << number;
        EXPECT_EQ(added.size(), 1) << prompt.texts().join(QLatin1Char('|')).toStdString();
        if (added.size() != 1)
            return {};
        return rows(QStringLiteral("select ItemID, Quantity, UnitCost, isADS from "
                                   "INVENTORY..tbInvWithdrawRequest where DocumentNumber = %1 "
                                   "order by LineID")
                        .arg(db::quote(added.first())));
    }

    QStringList documentNumbers() const
    {
        return rows(
            QStringLiteral("select distinct DocumentNumber from INVENTORY..tbInvWithdrawRequest"));
    }

    QStringList rows(const QString &statement) const
    {
        QStringList found;
        for (db::Recordset rs = database->query(statement); !rs.eof(); rs.moveNext()) {
            QStringList cols;
            for (int i = 0; i < rs.fieldCount(); ++i)
                cols << rs.text(i);
            found << cols.join(QLatin1Char('|'));
        }
        return found;
    }

    // The item figures beside the entry, joined.
    QString figures() const
    {
        QStringList values;
        for (const char *name : {"txtProdName", "txtOnhand", "txtUnitCost", "txtListCost",
                                 "txtAverageCost", "txtUOM", "txtPacking", "txtMax", "txtMin"})
            values << text(name);
        return values.join(QLatin1Char('|'));
    }
};

// ----- one look-up after another ----------------------------------------------------------------

// The ward takes retail stock: "Yes" is its choice, except where the item master decides.
struct SecondLookup
{
    const char *name;
    const char *site;
    const char *first; // looked up first, not added
    const char *second;
    const char *messages; // shown by the second look-up
    const char *figures; // on the entry after it; "" when none
    bool retailYes; // the retail option after it
    bool addable; // a quantity typed then makes a line of the second item
};

void PrintTo(const SecondLookup &c, std::ostream *os)
{
    *os << c.name;
}

class SecondLookupTest : public EntrySequenceTest,
                         public ::testing::WithParamInterface<SecondLookup>
{
};

TEST_P(SecondLookupTest, KeepsNothingOfTheItemBefore)
{
    const SecondLookup &c = GetParam();
    setSite(QString::fromLatin1(c.site));
    // Amoxicillin is out of stock at the warehouse, and such items may not be requested.
    sql(QStringLiteral("UPDATE INVENTORY..tbInvent SET OnHand = 0 WHERE ItemID = '1002' AND "
                       "LocationID = '21'"));
    sql(QStringLiteral("UPDATE INVENTORY..tbHospitalInfo SET AllowWDZeroOnHand = 1"));
    LoadHospitalInfo();
    newRequest();

    type("txtProdCode", QString::fromLatin1(c.first));
    ASSERT_FALSE(text("txtProdName").isEmpty());
    prompt.clear();
    type("txtProdCode", QString::fromLatin1(c.second));

    EXPECT_EQ(prompt.texts().join(QLatin1Char('|')), QString::fromLatin1(c.messages));
    const QString expected
        = *c.figures ? QString::fromLatin1(c.figures) : QStringLiteral("||||||||");
    EXPECT_EQ(figures(), expected);
    EXPECT_FALSE(child<QCheckBox>("chkAdS")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("chkAdS")->isHidden());
    EXPECT_EQ(form->controls().optConsumed[0]->isChecked(), c.retailYes);

    // A quantity and Add: a line only of an item the look-up resolved and may be requested.
    prompt.clear();
    type("txtWithdraw", QStringLiteral("2"));
    const bool enabled = addButton().isEnabled();
    form->cmdOK_Click();
    EXPECT_EQ(codes().contains(QString::fromLatin1(c.second)), c.addable);
    if (!c.addable) {
        EXPECT_FALSE(prompt.texts().isEmpty()) << "refused without a word";
    }
    // A zero-stock item is an item: Add is on, and the check on Add refuses it.
    if (!QString::fromLatin1(c.second).startsWith(QLatin1String("1002"))) {
        EXPECT_EQ(enabled, c.addable);
    }

    // The entry still works for the next item, and the save stores what the form shows.
    prompt.clear();
    enter(QStringLiteral("1003"), QStringLiteral("4"));
    QStringList stored;
    if (c.addable)
        stored << QString::fromLatin1(c.second) + QStringLiteral("|2|4.5|False");
    stored << QStringLiteral("1003|4|1.75|False");
    EXPECT_EQ(save(), stored);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, SecondLookupTest,
    ::testing::Values(
        SecondLookup {"AdsThenNoMatch", "", "1011", "ZZZ",
                      "No item matches \"ZZZ\" at Central Warehouse.", "", true, false},
        SecondLookup {"AdsThenNoSuchCode", "", "1011", "99999",
                      "No item matches \"99999\" at Central Warehouse.", "", true, false},
        SecondLookup {
            "AdsThenOrdinaryItem", "", "1011", "1019", "",
            "SYRINGE 3ML DISPOSABLE WITH NEEDLE G23|500|4.5000|4.5|4.3000|PIECE|100|50|50", true,
            true},
        SecondLookup {"StockedThenZeroStock", "", "1017", "1002",
                      "Zero Item Onhand|Enter another item", "", true, false},
        SecondLookup {"RetailItemThenNoMatchAtTKRL", "TKRL", "1001", "ZZZ",
                      "No item matches \"ZZZ\" at Central Warehouse.", "", false, false}),
    [](const ::testing::TestParamInfo<SecondLookup> &info) { return info.param.name; });

TEST_F(EntrySequenceTest, UpdateAfterAFailedLookupMakesNoSecondLine)
{
    newRequest();
    enter(QStringLiteral("1001"), QStringLiteral("5"));
    enter(QStringLiteral("1019"), QStringLiteral("6"));
    ASSERT_EQ(codes(), (QStringList {"1001", "1019", ""}));

    // The first line is taken for Update, a code that is no item typed, then items listed.
    clickCell(1, DetailsCol::Description);
    ASSERT_EQ(addButton().text(), QStringLiteral("Update"));
    type("txtProdCode", QStringLiteral("ZZZ"));
    EXPECT_EQ(prompt.texts(), QStringList {notFoundZZZ});
    EXPECT_FALSE(addButton().isEnabled());
    for (const char *listed : {"1019", "1001"}) {
        prompt.clear();
        enter(QString::fromLatin1(listed), QStringLiteral("9"));
        EXPECT_EQ(
            prompt.texts(),
            QStringList {QStringLiteral("Item is already entered.  Please select another item!")})
            << listed;
    }
    EXPECT_EQ(codes(), (QStringList {"1001", "1019", ""}));

    // Changing a line into another listed item is refused too; into a new one it is not.
    clickCell(2, DetailsCol::Description);
    prompt.clear();
    enter(QStringLiteral("1001"), QStringLiteral("3"));
    EXPECT_EQ(prompt.texts().size(), 1);
    clickCell(2, DetailsCol::Description);
    prompt.clear();
    enter(QStringLiteral("1020"), QStringLiteral("3"));
    EXPECT_TRUE(prompt.texts().isEmpty()) << prompt.lastText().toStdString();
    EXPECT_EQ(codes(), (QStringList {"1001", "1020", ""}));

    EXPECT_EQ(save(), (QStringList {"1001|5|2.5|False", "1020|3|5.25|False"}));
}

TEST_F(EntrySequenceTest, TheRequestOrderListHoldsAnItemOnce)
{
    setSite(QStringLiteral("Q4VH"));
    newRequest();
    prompt.setDefaultAnswer(ui::Answer::Yes);
    enter(QStringLiteral("1017"), QStringLiteral("12"));
    prompt.clear();
    // Over the stock again: the list already has it, and the question is not asked.
    enter(QStringLiteral("1017"), QStringLiteral("20"));
    EXPECT_EQ(prompt.texts(), QStringList {QStringLiteral("Item already on Request Order List!")});

    const ui::FlexGrid &ro = *child<ui::FlexGrid>("fgRO");
    int listed = 0;
    for (int row = 1; row < ro.Rows(); ++row)
        listed += ro.TextMatrix(row, 0) == QLatin1String("1017") ? 1 : 0;
    EXPECT_EQ(listed, 1);
    EXPECT_EQ(ro.TextMatrix(1, 3), QStringLiteral("12"));
    EXPECT_EQ(text("txtTotalRO"), QStringLiteral("6,240.0000"));
}

// ----- numbers as typed --------------------------------------------------------------------------

struct TypedNumbers
{
    const char *name;
    const char *quantity;
    const char *unitCost;
    const char *messages; // everything the user is told, in order
    const char *stored; // the line after a save; a refused entry is put right to 2 at 2.5
    const char *total; // the grand total on the form
};

void PrintTo(const TypedNumbers &c, std::ostream *os)
{
    *os << c.name;
}

class TypedNumbersTest : public EntrySequenceTest,
                         public ::testing::WithParamInterface<TypedNumbers>
{
};

TEST_P(TypedNumbersTest, AreReadWholeOrRefusedByName)
{
    const TypedNumbers &c = GetParam();
    sql(QStringLiteral("UPDATE INVENTORY..tbInvent SET OnHand = 5000 WHERE ItemID = '1001'"));
    newRequest();
    QStringList told;
    const auto typeOrPutRight = [&](const char *name, const char *value, const char *right) {
        type(name, QString::fromUtf8(value));
        if (prompt.texts().isEmpty())
            return;
        told << prompt.texts();
        prompt.clear();
        // The focus stayed in the field that was refused.
        EXPECT_EQ(QApplication::focusWidget(), &field(name));
        type(name, QString::fromLatin1(right));
    };
    type("txtProdCode", QStringLiteral("1001"));
    typeOrPutRight("txtWithdraw", c.quantity, "2");
    typeOrPutRight("txtUnitCost", c.unitCost, "2.5");
    form->cmdOK_Click();
    if (!prompt.texts().isEmpty()) {
        told << prompt.texts();
        prompt.clear();
        EXPECT_TRUE(codes().first().isEmpty()) << "a refused line was added";
        type("txtWithdraw", QStringLiteral("2"));
        type("txtUnitCost", QStringLiteral("2.5"));
        form->cmdOK_Click();
    }

    EXPECT_EQ(told.join(QLatin1Char('|')), QString::fromUtf8(c.messages));
    EXPECT_EQ(text("txtTotalCounter"), QString::fromLatin1(c.total));
    EXPECT_EQ(save(), QStringList {QString::fromLatin1(c.stored)});
}

INSTANTIATE_TEST_SUITE_P(
    Entry, TypedNumbersTest,
    ::testing::Values(
        TypedNumbers {"CostWithSeparators", "2", "1,040.00", "", "1001|2|1040|False", "2,080.0000"},
        TypedNumbers {"QuantityWithSeparators", "1,000", "2.5", "", "1001|1000|2.5|False",
                      "2,500.0000"},
        TypedNumbers {"QuantityLetters", "abc", "2.5",
                      "Invalid entry... Quantity must be a whole "
                      "number from 1 to 999,999,999,999,999.",
                      "1001|2|2.5|False", "5.0000"},
        TypedNumbers {"QuantityHuge", "1e20", "2.5",
                      "Invalid entry... Quantity must be a whole "
                      "number from 1 to 999,999,999,999,999.",
                      "1001|2|2.5|False", "5.0000"},
        TypedNumbers {"QuantityWideDigits", "\xef\xbc\x91\xef\xbc\x92", "2.5",
                      "Invalid entry... Quantity must be a whole number from 1 to "
                      "999,999,999,999,999.",
                      "1001|2|2.5|False", "5.0000"},
        TypedNumbers {"QuantityBadGrouping", "1,0", "2.5",
                      "Invalid entry... Quantity must be a "
                      "whole number from 1 to 999,999,999,999,999.",
                      "1001|2|2.5|False", "5.0000"},
        TypedNumbers {"CostDecimalComma", "2", "1,5",
                      "Invalid entry... Unit Cost must be a "
                      "number from 0 to 99,999,999,999.9999.",
                      "1001|2|2.5|False", "5.0000"},
        TypedNumbers {"CostCurrencySign", "2", "$5",
                      "Invalid entry... Unit Cost must be a number "
                      "from 0 to 99,999,999,999.9999.",
                      "1001|2|2.5|False", "5.0000"},
        TypedNumbers {"CostBeyondMoney", "2", "1e15",
                      "Invalid entry... Unit Cost must be a "
                      "number from 0 to 99,999,999,999.9999.",
                      "1001|2|2.5|False", "5.0000"},
        TypedNumbers {"TotalBeyondMoney", "400", "99,999,999,999",
                      "Total Cost (Quantity x Unit "
                      "Cost) must not be more than 99,999,999,999.9999.",
                      "1001|2|2.5|False", "5.0000"},
        TypedNumbers {"NegativeQuantity", "-3", "2.5", "Quantity must not be lesser than zero.",
                      "1001|2|2.5|False", "5.0000"}),
    [](const ::testing::TestParamInfo<TypedNumbers> &info) { return info.param.name; });

TEST_F(EntrySequenceTest, CellEditorReadsPastedQuantitiesWhole)
{
    setSwitch(QStringLiteral("92"), true);
    newRequest();
    // The lines as the plan picker writes them; the first one's cost was typed with separators.
    ui::FlexGrid &grid = lines();
    grid.setRows(4);
    const QStringList first {"1005", "CEFUROXIME 750MG VIAL", "", "4", "1,040.00", "4160", "N", "N",
                             "500"};
    const QStringList second {"1001", "PARACETAMOL 500MG TABLET", "", "10", "2.5", "25", "N", "N",
                              "500"};
    for (int col = 0; col < first.size(); ++col) {
        grid.setTextMatrix(1, col, first.at(col));
        grid.setTextMatrix(2, col, second.at(col));
    }

    clickCell(1, DetailsCol::Quantity);
    QLineEdit &editor = *child<QLineEdit>("txtEntry");
    ASSERT_TRUE(editor.isVisible());
    // Pasted texts bypass the digit filter.
    for (const char *bad : {"abc", "0", "", "1,2", "99999999999999999999"}) {
        prompt.clear();
        editor.setText(QString::fromLatin1(bad));
        QTest::keyClick(&editor, Qt::Key_Return);
        EXPECT_EQ(prompt.texts(), QStringList {quantityRule}) << bad;
        EXPECT_TRUE(editor.isVisible()) << bad;
        EXPECT_EQ(grid.TextMatrix(1, DetailsCol::Quantity), QStringLiteral("4")) << bad;
    }
    prompt.clear();
    editor.setText(QStringLiteral("1,200"));
    QTest::keyClick(&editor, Qt::Key_Return);
    EXPECT_TRUE(prompt.texts().isEmpty()) << prompt.lastText().toStdString();
    EXPECT_EQ(grid.TextMatrix(1, DetailsCol::Quantity), QStringLiteral("1200"));
    EXPECT_EQ(grid.TextMatrix(1, DetailsCol::TotalCost), QStringLiteral("1248000"));
    // The editor moved on to the next line: a total beyond the money columns is refused.
    ASSERT_EQ(grid.Row(), 2);
    editor.setText(QStringLiteral("999999999999999"));
    QTest::keyClick(&editor, Qt::Key_Return);
    EXPECT_EQ(prompt.texts(), QStringList {totalRule});
    EXPECT_EQ(grid.TextMatrix(2, DetailsCol::Quantity), QStringLiteral("10"));
    prompt.clear();
    editor.setText(QStringLiteral("12"));
    QTest::keyClick(&editor, Qt::Key_Return);
    EXPECT_EQ(text("txtTotalCounter"), QStringLiteral("1,248,030.0000"));

    EXPECT_EQ(save(), (QStringList {"1005|1200|1040|False", "1001|12|2.5|False"}));
}

// ----- the keyboard -----------------------------------------------------------------------------

TEST_F(EntrySequenceTest, ScannerFlowAddsALineForEveryFourthEnter)
{
    newRequest();
    field("txtProdCode").setFocus();
    struct Scan
    {
        const char *code;
        const char *quantity;
        const char *cost;
    };
    for (const Scan &scan : {Scan {"4800001000011", "5", "2.75"}, Scan {"1019", "6", ""},
                             Scan {"4800001000141", "1,000", "45"}}) {
        keys(QString::fromLatin1(scan.code));
        EXPECT_EQ(QApplication::focusWidget(), &field("txtWithdraw")) << scan.code;
        keys(QString::fromLatin1(scan.quantity));
        EXPECT_EQ(QApplication::focusWidget(), &field("txtUnitCost")) << scan.code;
        if (*scan.cost)
            field("txtUnitCost").selectAll();
        keys(QString::fromLatin1(scan.cost));
        EXPECT_EQ(QApplication::focusWidget(), &addButton()) << scan.code;
        keys(QString());
        EXPECT_EQ(QApplication::focusWidget(), &field("txtProdCode")) << scan.code;
    }
    // A code that is no item is said so, and the focus waits on the code for the next scan.
    prompt.clear();
    keys(QStringLiteral("ZZZ"));
    EXPECT_EQ(prompt.texts().value(0), notFoundZZZ);
    EXPECT_EQ(QApplication::focusWidget(), &field("txtProdCode"));
    prompt.clear();
    keys(QStringLiteral("1020"));
    keys(QStringLiteral("2"));
    keys(QString());
    keys(QString());

    EXPECT_EQ(codes(), (QStringList {"1001", "1019", "1014", "1020", ""}));
    EXPECT_EQ(save(),
              (QStringList {"1001|5|2.75|False", "1019|6|4.5|False", "1014|1000|45|False",
                            "1020|2|5.25|False"}));
}

TEST_F(EntrySequenceTest, EnterOnTheUpdateButtonChangesTheLine)
{
    newRequest();
    enter(QStringLiteral("1001"), QStringLiteral("5"));
    clickCell(1, DetailsCol::Description);
    type("txtWithdraw", QStringLiteral("7"));
    addButton().setFocus();
    QTest::keyClick(&addButton(), Qt::Key_Return);
    EXPECT_EQ(lines().TextMatrix(1, DetailsCol::Quantity), QStringLiteral("7"));
    EXPECT_EQ(codes(), (QStringList {"1001", ""}));
    // A disabled button takes no Enter.
    EXPECT_FALSE(addButton().isEnabled());
}

// ----- kits -------------------------------------------------------------------------------------

struct KitChoice
{
    const char *name;
    const char *kit;
    ui::Answer answer; // to the kit question
    std::function<void(frmKitEntry &)> choose;
    const char *listed; // the grid's codes afterwards
    const char *stored;
};

void PrintTo(const KitChoice &c, std::ostream *os)
{
    *os << c.name;
}

class KitTest : public EntrySequenceTest, public ::testing::WithParamInterface<KitChoice>
{
};

TEST_P(KitTest, ChosenComponentsBecomeLines)
{
    const KitChoice &c = GetParam();
    // A second kit, made here: the IV set holds two cannulas and a syringe.
    sql(QStringLiteral("INSERT INTO INVENTORY..tbInvKit (KitItemID, ItemID, Qty) VALUES "
                       "('1022', '1021', 2), ('1022', '1019', 1)"));
    newRequest();
    // An item looked up and left before: none of it reaches the kit's lines.
    type("txtProdCode", QStringLiteral("1011"));
    prompt.clear();
    prompt.answer(c.answer);
    QString kitShown;
    if (c.choose) {
        modal.expect([&c, &kitShown](QDialog &dialog) {
            auto &kit = dynamic_cast<frmKitEntry &>(dialog);
            kitShown = kit.ItemID;
            c.choose(kit);
        });
    }
    type("txtProdCode", QString::fromLatin1(c.kit));

    EXPECT_EQ(prompt.texts().value(0),
              QStringLiteral("Item is a Kit. Do you want to add items located in the Kit?"));
    EXPECT_EQ(prompt.shown().front().title, QStringLiteral("Message"));
    if (c.choose) {
        EXPECT_EQ(kitShown, QString::fromLatin1(c.kit));
    }
    EXPECT_FALSE(modal.pending());
    EXPECT_EQ(codes().join(QLatin1Char(',')), QString::fromLatin1(c.listed));
    if (c.answer == ui::Answer::No) {
        // Taken as an ordinary item.
        type("txtWithdraw", QStringLiteral("1"));
        form->cmdOK_Click();
    } else {
        EXPECT_TRUE(text("txtProdCode").isEmpty());
        EXPECT_FALSE(addButton().isEnabled());
    }
    if (*c.stored) {
        EXPECT_EQ(save().join(QLatin1Char(',')), QString::fromLatin1(c.stored));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Choices, KitTest,
    ::testing::Values(
        KitChoice {"AllComponents", "1037", ui::Answer::Yes,
                   [](frmKitEntry &kit) {
                       kit.chkAddAllItems->click();
                       kit.cmdClose->click();
                   },
                   "1027,1025,1040,", "1027|1|18|False,1025|2|12|False,1040|1|38|False"},
        KitChoice {"OneComponent", "1037", ui::Answer::Yes,
                   [](frmKitEntry &kit) {
                       for (int row = 1; row < kit.flexMSHDetails->Rows(); ++row)
                           if (kit.flexMSHDetails->TextMatrix(row, 0) == QLatin1String("1025"))
                               kit.flexMSHDetails->setRow(row);
                       kit.cmdSelect->click();
                   },
                   "1025,", "1025|2|12|False"},
        KitChoice {"ClosedWithoutChoice", "1037", ui::Answer::Yes,
                   [](frmKitEntry &kit) { kit.cmdClose->click(); }, "", ""},
        KitChoice {"KitAsAnItem", "1037", ui::Answer::No, nullptr, "", "1037|1|95|False"},
        KitChoice {"KitMadeInTheTest", "1022", ui::Answer::Yes,
                   [](frmKitEntry &kit) {
                       kit.chkAddAllItems->click();
                       kit.cmdClose->click();
                   },
                   "1021,1019,", "1021|2|35|False,1019|1|4.5|False"}),
    [](const ::testing::TestParamInfo<KitChoice> &info) { return info.param.name; });

TEST_F(EntrySequenceTest, KitComponentsAlreadyListedAreNotAddedTwice)
{
    newRequest();
    enter(QStringLiteral("1025"), QStringLiteral("10"));
    // An item without component rows asks nothing.
    enter(QStringLiteral("1019"), QStringLiteral("1"));
    EXPECT_TRUE(prompt.texts().isEmpty()) << prompt.lastText().toStdString();

    prompt.answer(ui::Answer::Yes);
    modal.expect([](QDialog &dialog) {
        auto &kit = dynamic_cast<frmKitEntry &>(dialog);
        kit.chkAddAllItems->click();
        kit.cmdClose->click();
    });
    type("txtProdCode", QStringLiteral("1037"));
    EXPECT_EQ(prompt.texts().value(1),
              QStringLiteral("Already on the request, not added again: 1025."));
    EXPECT_EQ(codes(), (QStringList {"1025", "1019", "1027", "1040", ""}));
    EXPECT_EQ(lines().TextMatrix(1, DetailsCol::Quantity), QStringLiteral("10"));
    EXPECT_EQ(text("txtTotalCounter"), QStringLiteral("180.5000")); // 120 + 4.5 + 18 + 38
}

} // namespace
