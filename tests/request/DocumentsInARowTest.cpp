// The main form driven through several documents in a row, as a user works: each case judges by
// what is stored afterwards and what the user was shown.
#include "request/MainFormTest.h"

#include "request/LinesGrid.h"
#include "request/RequestDocument.h"
#include "session/Settings.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <tuple>

using testing_support::MainFormTest;

namespace {

class DocumentsInARow : public MainFormTest
{
protected:
    int tab() const { return child<QTabWidget>("SSTab1")->currentIndex(); }
    ui::DataCombo &combo(const char *name) const { return *child<ui::DataCombo>(name); }
    QPlainTextEdit &remarks() const { return *child<QPlainTextEdit>("txtRemarks"); }
    void click(const char *button)
    {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }

    void edit(const QString &number)
    {
        selectListed(number);
        click("cmdEdit");
        ASSERT_EQ(tab(), 1);
    }

    void cancel()
    {
        prompt.answer(ui::Answer::Yes);
        click("cmdCancel");
        ASSERT_EQ(tab(), 0);
    }

    // A new document from the warehouse to the medical ward with one line.
    void newDocument(const QString &text = QStringLiteral("Ward stock"))
    {
        form->cmdNew_Click();
        ASSERT_EQ(tab(), 1);
        combo("cboLocation").setText(QStringLiteral("Central Warehouse"));
        combo("cboTargetLocation").setText(QStringLiteral("Medical Ward"));
        form->cboLocation_Validate();
        form->cboTargetLocation_Validate();
        addLine("1019", 2, "4.5");
        remarks().setPlainText(text);
    }

    void addLine(const char *item, double quantity, const char *unitCost)
    {
        RequestLine line;
        line.itemId = QLatin1String(item);
        line.description = QStringLiteral("ITEM");
        line.quantity = quantity;
        line.unitCost = format::Currency::fromText(QLatin1String(unitCost));
        line.retail = QStringLiteral("N");
        form->linesGrid().PutLine(form->document().lineCount() + 1, line);
    }

    // Rows of a query, each row's columns joined by "|".
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

    QStringList stored(const QString &table, const QString &number, const QString &columns) const
    {
        return rows(QStringLiteral("select %1 from INVENTORY..%2 where DocumentNumber = %3 "
                                   "order by ItemID")
                        .arg(columns, table, db::quote(number)));
    }

    QStringList request(const QString &number, const QString &columns) const
    {
        return stored(QStringLiteral("tbInvWithdrawRequest"), number, columns);
    }
};

// ----- documents that must not change -----------------------------------------------------------

enum class Path { EditButton, DetailsButton, DetailsTab, DoubleClick };

struct Taken
{
    const char *name;
    const char *change; // what another workstation did after the listing was shown
    const char *reason; // part of the line that says why the document is read only
};

class ReadOnlyDocuments : public DocumentsInARow,
                          public ::testing::WithParamInterface<std::tuple<Path, Taken>>
{
};

TEST_P(ReadOnlyDocuments, OpenReadOnlyFromEveryPathAndStayAsStored)
{
    const auto [path, taken] = GetParam();
    open();
    // The listing shows 1001 pending; meanwhile the supplying side takes it up.
    sql(QLatin1String(taken.change));
    const QStringList before
        = request(QStringLiteral("1001"), QStringLiteral("ItemID, Quantity, Status, Verifiedby"));

    selectListed(QStringLiteral("1001"));
    switch (path) {
    case Path::EditButton:
        click("cmdEdit");
        break;
    case Path::DetailsButton:
        click("cmdDetails");
        break;
    case Path::DetailsTab:
        child<QTabWidget>("SSTab1")->setCurrentIndex(1);
        break;
    case Path::DoubleClick:
        form->grdListing_DblClick();
        break;
    }
    ASSERT_EQ(tab(), 1);
    EXPECT_EQ(child<QLineEdit>("txtDocNum")->text(), QStringLiteral("1001"));
    EXPECT_EQ(lines().Rows(), 5);

    QLabel &why = *child<QLabel>("lblReadOnly");
    EXPECT_TRUE(why.isVisibleTo(form.get()));
    EXPECT_TRUE(why.text().contains(QLatin1String(taken.reason))) << why.text().toStdString();
    for (const char *name :
         {"cmdSave", "cmdVerify", "cmdVerified", "cmdDelete", "cmdAdd", "frameEntry"})
        EXPECT_FALSE(child<QWidget>(name)->isEnabled()) << name;
    EXPECT_TRUE(remarks().isReadOnly());

    // Nothing the form offers changes it, even when run directly.
    lines().setRow(1);
    form->cmdDelete_Click();
    form->cmdSave_Click();
    form->cmdVerify_Click();
    EXPECT_EQ(
        request(QStringLiteral("1001"), QStringLiteral("ItemID, Quantity, Status, Verifiedby")),
        before);
    EXPECT_EQ(form->document().lineCount(), 3);

    // The next document is editable again.
    cancel();
    edit(QStringLiteral("1008"));
    EXPECT_FALSE(why.isVisibleTo(form.get()));
    EXPECT_TRUE(child<QWidget>("cmdSave")->isEnabled());
    EXPECT_FALSE(remarks().isReadOnly());
}

std::string readOnlyCaseName(const ::testing::TestParamInfo<std::tuple<Path, Taken>> &info)
{
    static const char *const paths[] = {"Edit", "Details", "Tab", "DoubleClick"};
    return std::string(paths[static_cast<int>(std::get<0>(info.param))])
        + std::get<1>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ReadOnlyDocuments,
    ::testing::Combine(
        ::testing::Values(Path::EditButton, Path::DetailsButton, Path::DetailsTab,
                          Path::DoubleClick),
        ::testing::Values(
            Taken {"Verified",
                   "UPDATE INVENTORY..tbInvWithdrawRequest SET Verifiedby = 'VERIFY', verifiedDate "
                   "= '12/08/2026 09:45:00 AM' WHERE DocumentNumber = '1001'",
                   "Verified by"},
            Taken {"Processing",
                   "UPDATE INVENTORY..tbInvWithdrawRequest SET Status = 'P', ProcessBy = 'CLERK1' "
                   "WHERE DocumentNumber = '1001'",
                   "processed"},
            Taken {"Approved",
                   "UPDATE INVENTORY..tbInvWithdrawRequest SET Status = 'A' WHERE DocumentNumber "
                   "= '1001'",
                   "Approved"},
            Taken {"Cancelled",
                   "UPDATE INVENTORY..tbInvWithdrawRequest SET Status = 'C' WHERE DocumentNumber "
                   "= '1001'",
                   "Cancelled"})),
    readOnlyCaseName);

// ----- lost updates -----------------------------------------------------------------------------

struct Meanwhile
{
    const char *name;
    const char *change;
    const char *told; // part of the message
};

class ChangedMeanwhile : public DocumentsInARow, public ::testing::WithParamInterface<Meanwhile>
{
};

TEST_P(ChangedMeanwhile, SaveWritesNothingAndSaysWhoChangedIt)
{
    open();
    edit(QStringLiteral("1001"));
    sql(QLatin1String(GetParam().change));
    const QStringList theirs = request(
        QStringLiteral("1001"), QStringLiteral("ItemID, Quantity, Remarks, Status, Verifiedby"));

    remarks().setPlainText(QStringLiteral("Edited here"));
    prompt.clear();
    click("cmdSave");

    EXPECT_TRUE(prompt.lastText().contains(QLatin1String(GetParam().told)))
        << prompt.lastText().toStdString();
    EXPECT_TRUE(prompt.lastText().contains(QStringLiteral("reopen")));
    EXPECT_EQ(request(QStringLiteral("1001"),
                      QStringLiteral("ItemID, Quantity, Remarks, Status, Verifiedby")),
              theirs);
    // The user's work stays on screen; reopening shows what is stored now.
    EXPECT_EQ(tab(), 1);
    EXPECT_EQ(remarks().toPlainText(), QStringLiteral("Edited here"));
    cancel();
    edit(QStringLiteral("1001"));
    EXPECT_EQ(form->document().lineCount(), static_cast<int>(theirs.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ChangedMeanwhile,
    ::testing::Values(
        Meanwhile {"Verified",
                   "UPDATE INVENTORY..tbInvWithdrawRequest SET Verifiedby = 'VERIFY' WHERE "
                   "DocumentNumber = '1001'",
                   "verified by Santos"},
        Meanwhile {"Processed",
                   "UPDATE INVENTORY..tbInvWithdrawRequest SET Status = 'P', ProcessBy = 'CLERK1' "
                   "WHERE DocumentNumber = '1001'",
                   "by Ramos"},
        Meanwhile {"LineRemoved",
                   "DELETE INVENTORY..tbInvWithdrawRequest WHERE DocumentNumber = '1001' AND "
                   "ItemID = '1025'",
                   "lines were changed"},
        Meanwhile {"QuantityChanged",
                   "UPDATE INVENTORY..tbInvWithdrawRequest SET Quantity = 60 WHERE DocumentNumber "
                   "= '1001' AND ItemID = '1019'",
                   "lines were changed"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(DocumentsInARow, AnUnchangedStoredDocumentSavesTwice)
{
    open();
    edit(QStringLiteral("1001"));
    remarks().setPlainText(QStringLiteral("First"));
    EXPECT_TRUE(form->SaveRequest());
    remarks().setPlainText(QStringLiteral("Second"));
    EXPECT_TRUE(form->SaveRequest()); // its own first save is no change by someone else
    EXPECT_EQ(request(QStringLiteral("1001"), QStringLiteral("Remarks")),
              QStringList(3, QStringLiteral("Second")));
}

// ----- nothing of one document in the next ------------------------------------------------------

TEST_F(DocumentsInARow, AConsolidationOpenedBeforeLeavesNoTraceInTheNextSave)
{
    setSite(QStringLiteral("ZRWB"));
    open();
    child<QRadioButton>("optOptions_4")->setChecked(true);
    selectListed(QStringLiteral("900"));
    form->grdListing_DblClick();
    ASSERT_EQ(tab(), 1);
    EXPECT_TRUE(form->document().isConsolidation());
    cancel();

    // A New whose type dialog is closed with "X" opens nothing.
    form->cmdNew_Click();
    EXPECT_EQ(tab(), 0);

    child<QRadioButton>("optOptions_0")->setChecked(true);
    edit(QStringLiteral("1001"));
    EXPECT_FALSE(form->document().isConsolidation());
    remarks().setPlainText(QStringLiteral("Edited"));
    EXPECT_TRUE(form->SaveRequest());

    EXPECT_EQ(request(QStringLiteral("1001"), QStringLiteral("Remarks")),
              QStringList(3, QStringLiteral("Edited")));
    EXPECT_TRUE(stored(QStringLiteral("tbInvWithdrawRequestConsolidation"), QStringLiteral("1001"),
                       QStringLiteral("ItemID"))
                    .isEmpty());
    EXPECT_EQ(stored(QStringLiteral("tbInvWithdrawRequestConsolidation"), QStringLiteral("900"),
                     QStringLiteral("ItemID"))
                  .size(),
              2);
}

TEST_F(DocumentsInARow, AReturnOpenedBeforeLeavesTheNewRequestARequest)
{
    setSwitch(QStringLiteral("91"), true);
    open();
    edit(QStringLiteral("1011"));
    ASSERT_FALSE(form->document().isRequest());
    cancel();

    modal.expect([](QDialog &dialog) {
        dialog.findChild<QPushButton *>(QStringLiteral("cmdInvRequest_0"))->click();
    });
    newDocument();
    EXPECT_TRUE(form->document().isRequest());
    EXPECT_TRUE(form->SaveRequest());
    EXPECT_EQ(
        request(QStringLiteral("1013"), QStringLiteral("LocationID, TargetLocationID, isRequest")),
        QStringList {QStringLiteral("21|18|True")});
}

TEST_F(DocumentsInARow, SiteHeaderIdentifiersAreKeptAndNeverInherited)
{
    setSite(QStringLiteral("ZRWB"));
    sql(QStringLiteral("UPDATE INVENTORY..tbInvWithdrawRequest SET DepartmentID = 'D01', SectionID "
                       "= 'S011', ApprovingOfficerID = 'VERIFY', Requestedby = 'NURSE1' WHERE "
                       "DocumentNumber = '1001'"));
    open();
    edit(QStringLiteral("1001"));
    EXPECT_EQ(combo("cboDepartment").Tag, QStringLiteral("D01"));
    EXPECT_EQ(combo("cboSection").Tag, QStringLiteral("S011"));
    EXPECT_EQ(combo("cboSection").Text(), QStringLiteral("Medical Ward A"));
    EXPECT_FALSE(child<QLabel>("lblOfficer")->text().isEmpty());
    EXPECT_FALSE(child<QLabel>("lblReqName")->text().isEmpty());
    EXPECT_TRUE(form->SaveRequest()); // unchanged
    EXPECT_EQ(request(QStringLiteral("1001"),
                      QStringLiteral("DepartmentID, SectionID, ApprovingOfficerID, Requestedby")),
              QStringList(3, QStringLiteral("D01|S011|VERIFY|NURSE1")));

    modal.expect([](QDialog &dialog) {
        dialog.findChild<QPushButton *>(QStringLiteral("cmdInvRequest_0"))->click();
    });
    newDocument();
    EXPECT_TRUE(combo("cboSection").Tag.isEmpty());
    EXPECT_TRUE(child<QLineEdit>("txtOfficer")->text().isEmpty());
    EXPECT_TRUE(child<QLabel>("lblOfficer")->text().isEmpty());
    EXPECT_TRUE(form->SaveRequest());
    EXPECT_EQ(request(QStringLiteral("1013"),
                      QStringLiteral("DepartmentID, SectionID, ApprovingOfficerID, Requestedby")),
              QStringList {QStringLiteral("|||")});
}

TEST_F(DocumentsInARow, OpeningAndSavingAtTVHKeepsTheSupplyingLocation)
{
    setSite(QStringLiteral("TVH"));
    saveDefaultLocation(QStringLiteral("19"));
    open();
    for (const char *number : {"1001", "1008"}) {
        const QStringList before
            = request(QLatin1String(number), QStringLiteral("LocationID, TargetLocationID"));
        edit(QLatin1String(number));
        EXPECT_TRUE(form->SaveRequest());
        EXPECT_EQ(request(QLatin1String(number), QStringLiteral("LocationID, TargetLocationID")),
                  before)
            << number;
        cancel();
    }
}

// ----- checks before the save -------------------------------------------------------------------

TEST_F(DocumentsInARow, UnresolvedLocationsAndLongRemarksAreRefusedByName)
{
    open();
    newDocument();
    combo("cboLocation").setText(QStringLiteral("NOWHERE"));
    prompt.clear();
    form->cmdSave_Click(); // a click would first be held in the combo by its validation
    ASSERT_FALSE(prompt.shown().empty());
    EXPECT_TRUE(prompt.texts().join(QLatin1Char('\n')).contains(QStringLiteral("NOWHERE")))
        << prompt.texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(request(QStringLiteral("1013"), QStringLiteral("ItemID")).isEmpty());
    EXPECT_EQ(tab(), 1);

    combo("cboLocation").setText(QStringLiteral("Central Warehouse"));
    remarks().setPlainText(QString(501, QLatin1Char('X')));
    prompt.clear();
    form->cmdSave_Click();
    EXPECT_TRUE(prompt.lastText().contains(QStringLiteral("JUSTIFICATION OF REQUEST")))
        << prompt.lastText().toStdString();
    EXPECT_TRUE(prompt.lastText().contains(QStringLiteral("500")));
    EXPECT_TRUE(request(QStringLiteral("1013"), QStringLiteral("ItemID")).isEmpty());

    remarks().setPlainText(QString(500, QLatin1Char('X')));
    form->cmdSave_Click();
    EXPECT_EQ(tab(), 0);
    EXPECT_EQ(request(QStringLiteral("1013"), QStringLiteral("LocationID, TargetLocationID")),
              QStringList {QStringLiteral("21|18")});
}

TEST_F(DocumentsInARow, ThousandsSeparatorsCountWholeInTotalAndSave)
{
    open();
    newDocument();
    addLine("1024", 2, "1040");
    RequestLine typed = form->document().lines().back();
    typed.unitCost = format::Currency::fromDouble(format::typedNumber(QStringLiteral("1,040.00")));
    form->linesGrid().PutLine(2, typed);
    EXPECT_EQ(child<QLineEdit>("txtTotalCounter")->text(), QStringLiteral("2,089.0000"));
    EXPECT_TRUE(form->SaveRequest());
    EXPECT_EQ(request(QStringLiteral("1013"), QStringLiteral("ItemID, Quantity, UnitCost")),
              (QStringList {QStringLiteral("1019|2|4.5"), QStringLiteral("1024|2|1040")}));
}

// ----- closing with work on screen -------------------------------------------------------------

TEST_F(DocumentsInARow, ClosingAsksBeforeUnsavedWorkIsLost)
{
    open();
    // An opened document left as it was closes without a question.
    edit(QStringLiteral("1001"));
    prompt.clear();
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(prompt.shown().empty());

    open();
    newDocument();
    prompt.clear();
    prompt.answer(ui::Answer::Cancel);
    EXPECT_FALSE(form->close());
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown().front().buttons, ui::Buttons::YesNoCancel);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->document().lineCount(), 1);

    prompt.answer(ui::Answer::No);
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(request(QStringLiteral("1013"), QStringLiteral("ItemID")).isEmpty());

    // Yes saves first; a save that is refused keeps the window open.
    open();
    newDocument(QString());
    addLine("1025", 1, "12");
    remarks().setPlainText(QString());
    prompt.clear();
    prompt.answer(ui::Answer::Yes);
    EXPECT_FALSE(form->close()); // the save is refused: no purpose given
    EXPECT_TRUE(prompt.texts().contains(QStringLiteral("Specify Purpose.")));
    remarks().setPlainText(QStringLiteral("Before closing"));
    prompt.answer(ui::Answer::Yes);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(request(QStringLiteral("1013"), QStringLiteral("ItemID")),
              (QStringList {QStringLiteral("1019"), QStringLiteral("1025")}));

    // Exit asks its own question once.
    open();
    newDocument();
    prompt.clear();
    prompt.answer(ui::Answer::Yes);
    click("cmdExit");
    EXPECT_EQ(prompt.texts(),
              QStringList {QStringLiteral("Are you sure you want to exit without saving?")});
    EXPECT_FALSE(form->isVisible());
}

} // namespace
