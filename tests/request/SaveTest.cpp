// Saving a request, its numbers, verifying and deleting it: what the database holds afterwards
// and what the user is told.
#include "request/MainFormTest.h"

#include "pickers/frmDispenser.h"
#include "request/Numbering.h"
#include "request/Saving.h"
#include "session/Reports.h"
#include "session/frmDeletePassword.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <vector>

using testing_support::MainFormTest;

namespace {

struct Line
{
    const char *code;
    const char *quantity;
    const char *unitCost;
    const char *ads = "N";
    const char *lot = "";
};

class SaveTest : public MainFormTest
{
protected:
    void TearDown() override
    {
        setProgramFolder(QString()); // report templates from the program's folder again
        MainFormTest::TearDown();
    }

    // A new document from the warehouse to the medical ward, with its lines in the grid.
    void newDocument(const std::vector<Line> &lineList,
                     const QString &remarks = QStringLiteral("Ward stock"))
    {
        if (!form)
            open();
        form->cmdNew_Click();
        combo("cboLocation").setText(QStringLiteral("Central Warehouse"));
        combo("cboTargetLocation").setText(QStringLiteral("Medical Ward"));
        child<QPlainTextEdit>("txtRemarks")->setPlainText(remarks);
        setLines(lineList);
    }

    void setLines(const std::vector<Line> &lineList)
    {
        ui::FlexGrid &grid = lines();
        grid.setRows(1); // no line left from before
        grid.setRows(static_cast<int>(lineList.size()) + 2);
        int row = 1;
        for (const Line &l : lineList) {
            grid.setTextMatrix(row, DetailsCol::Code, QLatin1String(l.code));
            grid.setTextMatrix(row, DetailsCol::Description,
                               l.code[0] ? QStringLiteral("ITEM") : QString());
            grid.setTextMatrix(row, DetailsCol::Quantity, QLatin1String(l.quantity));
            grid.setTextMatrix(row, DetailsCol::UnitCost, QLatin1String(l.unitCost));
            grid.setTextMatrix(row, DetailsCol::Retail, QStringLiteral("N"));
            grid.setTextMatrix(row, DetailsCol::isADS, QLatin1String(l.ads));
            grid.setTextMatrix(row, DetailsCol::LotNumber, QLatin1String(l.lot));
            ++row;
        }
    }

    ui::DataCombo &combo(const char *name) const { return *child<ui::DataCombo>(name); }
    QString text(const char *name) const { return child<QLineEdit>(name)->text(); }

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

    QStringList linesOf(const QString &number, const QString &columns) const
    {
        return rows(QStringLiteral("select %1 from INVENTORY..tbInvWithdrawRequest where "
                                   "DocumentNumber = %2 order by LineID")
                        .arg(columns, db::quote(number)));
    }

    QString counter() const
    {
        return rows(QStringLiteral("select RONumber from inventory..tbinvCANumber")).value(0);
    }

    void confirmAs(const QString &id, const QString &password)
    {
        modal.expect([id, password](QDialog &dialog) {
            auto &confirm = static_cast<frmDeletePassword &>(dialog);
            confirm.txtUserID->setText(id);
            confirm.txtPassword->setText(password);
            confirm.cmdEnter->click();
        });
    }
};

// ----- numbering ------------------------------------------------------------------------------

TEST_F(SaveTest, NumbersComeFromTheLargestNumericNumberAndTheCounter)
{
    sql(QStringLiteral("Delete INVENTORY..tbInvWithdrawRequest"));
    EXPECT_EQ(GetNewDocNumber(), QStringLiteral("1"));
    for (const char *number : {"17", "A-9", "120"})
        sql(QStringLiteral("Insert INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID) "
                           "Values ('%1','1001')")
                .arg(QLatin1String(number)));
    EXPECT_EQ(GetNewDocNumber(), QStringLiteral("121"));
    EXPECT_TRUE(Verify_DocumentNumber(QStringLiteral(" 120 ")));
    EXPECT_FALSE(Verify_DocumentNumber(QStringLiteral("900"))); // consolidation only

    // A Null counter starts at 1 and then moves on.
    sql(QStringLiteral("Update inventory..tbinvCANumber set RONumber = NULL"));
    EXPECT_EQ(getNewRONumber(), QStringLiteral("2026-1"));
    EXPECT_EQ(getNewRONumber(), QStringLiteral("2026-2"));
    EXPECT_TRUE(prompt.shown().empty());
}

// ----- saving ---------------------------------------------------------------------------------

TEST_F(SaveTest, NewRequestIsNumberedAndStoredWithItsHeader)
{
    newDocument({{"1001", "10", "2.5", "Y"}, {"", "", ""}, {"1012", "1,250.5", "42"}},
                QStringLiteral("Ward's stock, week 50"));
    form->cmdSave_Click();

    EXPECT_EQ(prompt.lastText(), QStringLiteral("Document #: 1013 still needs to be verified "));
    EXPECT_EQ(linesOf(QStringLiteral("1013"),
                      QStringLiteral("ItemID, Quantity, UnitCost, isADS, LocationID, "
                                     "TargetLocationID, UserID, Remarks, TransDate")),
              (QStringList {QStringLiteral("1001|10|2.5|True|21|18|DEMO|Ward's stock, week "
                                           "50|12/8/2026 10:15:00 AM"),
                            QStringLiteral("1012|1250.5|42|False|21|18|DEMO|Ward's stock, week "
                                           "50|12/8/2026 10:15:00 AM")}));
    EXPECT_EQ(counter(), QStringLiteral("4")); // RO-2026-4 drawn, though no request order
    EXPECT_EQ(child<QTabWidget>("SSTab1")->currentIndex(), 0);
    EXPECT_TRUE(listedNumbers().contains(QStringLiteral("1013")));
}

TEST_F(SaveTest, ReturnSwapsTheLocationsButNotItsRequestOrders)
{
    setSite(QStringLiteral("Q4VH"));
    newDocument({{"1001", "10", "2.5"}});
    form->flags().IsRequest = false;
    // The return goes back to the ward's own store room from the medical ward.
    combo("cboLocation").setText(QStringLiteral("Nursing Store Room"));
    ui::FlexGrid &ro = *child<ui::FlexGrid>("fgRO");
    ro.setTextMatrix(1, 0, QStringLiteral("1008"));
    ro.setTextMatrix(1, 1, QStringLiteral("ITEM"));
    ro.setTextMatrix(1, 3, QStringLiteral("1,000"));
    ro.setTextMatrix(1, 4, QStringLiteral("5.25"));
    ro.setTextMatrix(1, 5, QStringLiteral("5,250"));
    form->cmdSave_Click();

    EXPECT_EQ(linesOf(QStringLiteral("1013"), QStringLiteral("LocationID, TargetLocationID")),
              QStringList {QStringLiteral("18|30")});
    EXPECT_EQ(rows(QStringLiteral("select locationid, targetlocationid, qty, totalcost, userid "
                                  "from inventory..tbinvRequestOrder where Documentnumber = "
                                  "'RO-2026-4'")),
              QStringList {QStringLiteral("30|18|1000|5250|DEMO")});
}

TEST_F(SaveTest, SavingALoadedDocumentTwiceKeepsOneCopyUnderItsFirstUser)
{
    open();
    selectListed(QStringLiteral("1001"));
    form->cmdEdit_Click();
    // Someone else saved it first.
    sql(QStringLiteral("Update INVENTORY..tbInvWithdrawRequest set UserID = 'NURSE1' where "
                       "DocumentNumber = '1001'"));
    child<QPlainTextEdit>("txtRemarks")->setPlainText(QStringLiteral("Weekly"));
    EXPECT_TRUE(form->SaveRequest());
    EXPECT_TRUE(form->SaveRequest());
    EXPECT_EQ(
        linesOf(QStringLiteral("1001"), QStringLiteral("ItemID, UserID, Remarks")),
        (QStringList {QStringLiteral("1019|NURSE1|Weekly"), QStringLiteral("1024|NURSE1|Weekly"),
                      QStringLiteral("1025|NURSE1|Weekly")}));
}

class LotSwitchTest : public SaveTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(LotSwitchTest, LotNumbersAndKindOnlyWithSwitch91)
{
    setSwitch(QStringLiteral("91"), GetParam());
    if (GetParam()) // the type dialog of switch 91 chooses a request
        modal.expect([](QDialog &dialog) {
            dialog.findChild<QPushButton *>(QStringLiteral("cmdInvRequest_0"))->click();
        });
    newDocument({{"1001", "10", "2.5", "N", "PC-2611"}});
    form->cmdSave_Click();
    EXPECT_EQ(linesOf(QStringLiteral("1013"), QStringLiteral("lotnumber, isRequest")),
              QStringList {GetParam() ? QStringLiteral("PC-2611|True") : QStringLiteral("|")});
}

INSTANTIATE_TEST_SUITE_P(Switch91, LotSwitchTest, ::testing::Bool());

TEST_F(SaveTest, TypedNumberInUseIsRefusedBeforeAnythingIsWritten)
{
    newDocument({{"1001", "10", "2.5"}});
    auto *number = child<QLineEdit>("txtDocNum");
    number->setReadOnly(false);
    number->setText(QStringLiteral(" 1001 "));
    statements.clear();
    form->cmdSave_Click();
    EXPECT_EQ(prompt.lastText(),
              QStringLiteral("Document Number already exists. Please assign a new number."));
    EXPECT_EQ(prompt.shown().back().title, QStringLiteral("MESSAGE"));
    EXPECT_EQ(linesOf(QStringLiteral("1001"), QStringLiteral("ItemID")).size(), 3);
    for (const QString &s : statements)
        EXPECT_TRUE(s.trimmed().startsWith(QLatin1String("Select"), Qt::CaseInsensitive))
            << s.toStdString();
}

TEST_F(SaveTest, MissingQuantityOrPurposeStopsTheSave)
{
    newDocument({{"1001", "10", "2.5"}, {"1012", "0", "42"}});
    form->cmdSave_Click();
    EXPECT_EQ(prompt.lastText(), QStringLiteral("Fill all Quantities!"));
    EXPECT_EQ(lines().Row(), 2);
    EXPECT_EQ(text("txtProdCode"), QStringLiteral("1012"));

    setLines({{"1001", "10", "2.5"}});
    child<QPlainTextEdit>("txtRemarks")->setPlainText(QStringLiteral("  "));
    prompt.clear();
    form->cmdSave_Click();
    // Leaving the entry for the remarks looks its code up again, which may say more.
    EXPECT_EQ(prompt.texts().value(0), QStringLiteral("Specify Purpose."));
    EXPECT_TRUE(linesOf(QStringLiteral("1013"), QStringLiteral("ItemID")).isEmpty());
    EXPECT_EQ(text("txtDocNum"), QStringLiteral("NEW"));
}

TEST_F(SaveTest, CellTextCannotChangeTheStatement)
{
    newDocument({{"1001", "10); Delete INVENTORY..tbInvWithdrawRequest --", "2.5x"}});
    form->cmdSave_Click();
    EXPECT_EQ(linesOf(QStringLiteral("1013"), QStringLiteral("Quantity, UnitCost")),
              QStringList {QStringLiteral("10|2.5")});
    EXPECT_EQ(linesOf(QStringLiteral("1001"), QStringLiteral("ItemID")).size(), 3);
}

TEST_F(SaveTest, ARefusedStatementUndoesTheWholeSave)
{
    setSite(QStringLiteral("Q4VH"));
    newDocument({{"1001", "10", "2.5"}});
    sql(QStringLiteral("DROP TABLE INVENTORY..tbinvRequestOrder"));
    form->cmdSave_Click();

    EXPECT_EQ(prompt.shown().back().icon, ui::Icon::Critical);
    EXPECT_TRUE(linesOf(QStringLiteral("1013"), QStringLiteral("ItemID")).isEmpty());
    EXPECT_EQ(counter(), QStringLiteral("3"));
    // The document stays on screen with its placeholders, so the next press numbers it afresh.
    EXPECT_EQ(child<QTabWidget>("SSTab1")->currentIndex(), 1);
    EXPECT_EQ(text("txtDocNum"), QStringLiteral("NEW"));
    EXPECT_EQ(text("txtRODocNum"), QStringLiteral("NEW"));
    EXPECT_EQ(lines().TextMatrix(1, DetailsCol::Code), QStringLiteral("1001"));
}

TEST_F(SaveTest, BlankRequestingLocationIsRefusedWithoutDrawingANumber)
{
    newDocument({{"1001", "10", "2.5"}});
    combo("cboTargetLocation").setText(QStringLiteral("No Such Ward"));
    form->cmdSave_Click();
    EXPECT_EQ(prompt.lastText(), QStringLiteral("TargetLocationid is Blank! Reselect location..."));
    EXPECT_EQ(text("txtDocNum"), QStringLiteral("NEW"));
    EXPECT_EQ(counter(), QStringLiteral("3"));
}

// ----- verification ---------------------------------------------------------------------------

TEST_F(SaveTest, ZrwbVerifiesAsTheUserWithoutAsking)
{
    setSite(QStringLiteral("ZRWB"));
    open();
    modal.expect([](QDialog &dialog) { // ordinary request
        dialog.findChild<QPushButton *>(QStringLiteral("cmdInvRequest_0"))->click();
    });
    newDocument({{"1001", "10", "2.5"}});
    child<QLineEdit>("txtOfficer")->setText(QStringLiteral(" 10023 "));
    form->cmdVerify_Click();
    EXPECT_FALSE(modal.shown().contains(QStringLiteral("frmDeletePassword")));
    EXPECT_EQ(linesOf(QStringLiteral("1013"),
                      QStringLiteral("Verifiedby, ApprovingOfficerID, Requestedby")),
              QStringList {QStringLiteral("DEMO|10023|")});
    EXPECT_EQ(rows(QStringLiteral("select SequenceNumber from inventory..tbInvMRISDocnum")),
              QStringList {QStringLiteral("1001")});
}

TEST_F(SaveTest, ElsewhereASecondPersonVerifies)
{
    setProgramFolder(QStringLiteral(SR_SOURCE_DIR "/reports"));
    newDocument({{"1001", "10", "2.5"}});
    confirmAs(QStringLiteral("VERIFY"), QStringLiteral("verify"));
    form->cmdVerify_Click();
    EXPECT_EQ(linesOf(QStringLiteral("1013"), QStringLiteral("Verifiedby")),
              QStringList {QStringLiteral("VERIFY")});
    EXPECT_TRUE(prompt.shown().empty());
    // The verified document is shown for printing.
    EXPECT_EQ(
        modal.shown(),
        (QStringList {QStringLiteral("frmDeletePassword"), QStringLiteral("frmReportViewer")}));

    // Cancelled: saved all the same, unverified, and the user is told after the save.
    newDocument({{"1012", "3", "42"}});
    form->cmdVerify_Click();
    EXPECT_EQ(prompt.lastText(), QStringLiteral("Request not verified!"));
    EXPECT_EQ(linesOf(QStringLiteral("1014"), QStringLiteral("ItemID, Verifiedby")),
              QStringList {QStringLiteral("1012|")});

    // The verified save with a cancelled confirmation saves nothing.
    newDocument({{"1012", "3", "42"}});
    form->cmdVerified_Click();
    EXPECT_TRUE(linesOf(QStringLiteral("1015"), QStringLiteral("ItemID")).isEmpty());
}

// ----- deletion -------------------------------------------------------------------------------

TEST_F(SaveTest, DeletionOnlyFromThePendingListing)
{
    open();
    selectListed(QStringLiteral("1001"));
    child<QRadioButton>("optOptions_1")->setChecked(true); // "Processing"
    form->cmdDeleteReq_Click();
    EXPECT_EQ(prompt.lastText(),
              QStringLiteral("Can't delete processing or verified transaction."));

    child<QRadioButton>("optOptions_0")->setChecked(true);
    child<QCheckBox>("chkverified")->setChecked(false);
    form->chkverified_Click();
    selectListed(QStringLiteral("1001"));
    prompt.answer(ui::Answer::Yes);
    form->cmdDeleteReq_Click();
    EXPECT_EQ(prompt.lastText(), QStringLiteral("Are you sure you want to delete this record?"));
    EXPECT_EQ(rows(QStringLiteral("select distinct Status, ProcessBy from "
                                  "INVENTORY..tbInvWithdrawRequest where DocumentNumber = '1001'")),
              QStringList {QStringLiteral("D|DEMO")});
    EXPECT_FALSE(listedNumbers().contains(QStringLiteral("1001")));
}

// ----- officers -------------------------------------------------------------------------------

TEST_F(SaveTest, OfficerFoundDirectlyOrChosenFromTheList)
{
    open();
    form->cmdNew_Click();
    auto *officer = child<QLineEdit>("txtOfficer");
    auto *name = child<QLabel>("lblOfficer");

    officer->setText(QStringLiteral(" 10023 "));
    form->cmdOfficer_Click();
    EXPECT_EQ(officer->text(), QStringLiteral("10023"));
    EXPECT_EQ(name->text(), QStringLiteral("Garcia, Carlo"));
    EXPECT_TRUE(modal.shown().isEmpty());

    // Two Garcias: the list opens with the text as typed, and the choice moves on to the purpose.
    QString searched;
    modal.expect([&searched](QDialog &dialog) {
        auto &list = static_cast<frmDispenser &>(dialog);
        searched = list.SearchString;
        for (int row = 1; row < list.flexMSHList->Rows(); ++row)
            if (list.flexMSHList->TextMatrix(row, 0) == QLatin1String("NURSE1"))
                list.flexMSHList->setRow(row);
        list.cmdOK->click();
    });
    officer->setText(QStringLiteral("GARCIA"));
    form->cmdOfficer_Click();
    EXPECT_EQ(searched, QStringLiteral("GARCIA"));
    EXPECT_EQ(officer->text(), QStringLiteral("NURSE1"));
    EXPECT_EQ(name->text(), QStringLiteral("Garcia, Liza Moreno"));
    // The list took the window's activation; the focus is where the form will give it back.
    EXPECT_EQ(form->focusWidget(), child<QWidget>("txtRemarks"));

    // Closed without a choice: both emptied.
    child<QLineEdit>("txtReqID")->setText(QStringLiteral("NOBODY"));
    child<QLabel>("lblReqName")->setText(QStringLiteral("old"));
    form->cmdReq_Click();
    EXPECT_EQ(modal.shown().size(), 2);
    EXPECT_TRUE(child<QLineEdit>("txtReqID")->text().isEmpty());
    EXPECT_TRUE(child<QLabel>("lblReqName")->text().isEmpty());
}

} // namespace
