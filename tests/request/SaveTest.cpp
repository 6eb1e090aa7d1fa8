// Saving a request, its numbers, verifying and deleting it: what the database holds afterwards
// and what the user is told.
#include "request/MainFormTest.h"

#include "pickers/frmDispenser.h"
#include "request/Numbering.h"
#include "request/Saving.h"
#include "session/EncodePassword.h"
#include "session/Reports.h"
#include "session/frmDeletePassword.h"
#include "support/FaultyConnection.h"
#include "support/TableSnapshot.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <iostream>
#include <optional>
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
    EXPECT_EQ(prompt.lastText(),
              QStringLiteral("Are you sure you want to delete this record (Doc # 1001)?"));
    EXPECT_EQ(rows(QStringLiteral("select distinct Status, ProcessBy from "
                                  "INVENTORY..tbInvWithdrawRequest where DocumentNumber = '1001'")),
              QStringList {QStringLiteral("D|DEMO")});
    EXPECT_FALSE(listedNumbers().contains(QStringLiteral("1001")));
}

// A refresh of the listing, or another workstation, while the delete question is open.
struct DeleteRace
{
    const char *name;
    const char *meanwhile; // run while the question is open ("" for nothing)
    const char *deleted; // the document marked afterwards ("" for none)
    const char *told; // the message after the answer ("" for none)
};

class DeleteRaceTest : public SaveTest, public ::testing::WithParamInterface<DeleteRace>
{
};

TEST_P(DeleteRaceTest, OnlyTheChosenStillPendingDocumentIsMarked)
{
    const DeleteRace &race = GetParam();
    open();
    ASSERT_EQ(listedNumbers(),
              (QStringList {QStringLiteral("1001"), QStringLiteral("1008"), QStringLiteral("1010"),
                            QStringLiteral("1011")}));
    selectListed(QStringLiteral("1008"));
    QString currentDuringQuestion;
    prompt.setHook([&](const ui::PromptRequest &request) -> std::optional<ui::Answer> {
        if (!request.text.startsWith(QLatin1String("Are you sure")))
            return std::nullopt;
        // A request of the same ward, older than all, now heads the listing; then the minute
        // is up and the listing refreshes itself.
        sql(QStringLiteral("INSERT INTO INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, "
                           "Quantity, LocationID, TargetLocationID, TransDate, UserID) VALUES "
                           "('1000', '1019', 1, '21', '18', '11/30/2026 08:00:00 AM', 'DEMO')"));
        if (*race.meanwhile)
            sql(QString::fromLatin1(race.meanwhile));
        form->tmrRefresh_Timer();
        currentDuringQuestion = listing().TextMatrix(listing().Row(), 1);
        return ui::Answer::Yes;
    });
    form->cmdDeleteReq_Click();

    EXPECT_TRUE(prompt.texts().contains(
        QStringLiteral("Are you sure you want to delete this record (Doc # 1008)?")));
    if (!*race.meanwhile) // still listed: the refresh kept the place
        EXPECT_EQ(currentDuringQuestion, QStringLiteral("1008"));
    for (const char *number : {"1000", "1001", "1008", "1010", "1011"}) {
        const bool marked = QLatin1String(number) == QLatin1String(race.deleted);
        EXPECT_EQ(rows(QStringLiteral("select distinct isnull(Status,'') from "
                                      "INVENTORY..tbInvWithdrawRequest where DocumentNumber = %1")
                           .arg(db::quote(QLatin1String(number)))),
                  QStringList {marked ? QStringLiteral("D") : QString()})
            << race.name << " " << number;
    }
    if (*race.told)
        EXPECT_EQ(prompt.lastText(), QLatin1String(race.told)) << race.name;
    else
        EXPECT_TRUE(prompt.lastText().startsWith(QLatin1String("Are you sure"))) << race.name;
}

INSTANTIATE_TEST_SUITE_P(
    Races, DeleteRaceTest,
    ::testing::Values(
        DeleteRace {"refreshed", "", "1008", ""},
        DeleteRace {"verified meanwhile",
                    "UPDATE INVENTORY..tbInvWithdrawRequest SET Verifiedby = 'VERIFY' WHERE "
                    "DocumentNumber = '1008'",
                    "",
                    "Document # 1008 has been verified since the list was shown. Can't delete "
                    "processing or verified transaction."},
        DeleteRace {"taken up meanwhile",
                    "UPDATE INVENTORY..tbInvWithdrawRequest SET Status = 'P', Verifiedby = "
                    "'VERIFY' WHERE DocumentNumber = '1008'",
                    "",
                    "Document # 1008 has been taken up for processing since the list was shown. "
                    "Can't delete processing or verified transaction."},
        DeleteRace {"deleted elsewhere",
                    "UPDATE INVENTORY..tbInvWithdrawRequest SET Status = 'D' WHERE "
                    "DocumentNumber = '1008'",
                    "1008", "Document # 1008 has already been deleted."}),
    [](const ::testing::TestParamInfo<DeleteRace> &info) {
        QString name = QLatin1String(info.param.name);
        name.replace(QLatin1Char(' '), QLatin1Char('_'));
        return name.toStdString();
    });

TEST_F(SaveTest, RefreshKeepsTheChosenDocumentAndTheScrollPosition)
{
    for (int i = 0; i < 40; ++i)
        sql(QStringLiteral("INSERT INTO INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, "
                           "Quantity, LocationID, TargetLocationID, TransDate, UserID) VALUES "
                           "('%1', '1019', 1, '21', '18', '11/%2/2026 08:00:00 AM', 'DEMO')")
                .arg(2000 + i)
                .arg(1 + i % 28));
    open();
    ui::FlexGrid &grid = listing();
    grid.setTopRow(20);
    grid.setRow(25);
    grid.setTopRow(20);
    const QString chosen = grid.TextMatrix(25, 1);
    ASSERT_EQ(grid.TopRow(), 20);
    // Another document comes in below the view; the refresh keeps what the user looks at.
    sql(QStringLiteral("INSERT INTO INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, "
                       "Quantity, LocationID, TargetLocationID, TransDate, UserID) VALUES "
                       "('3000', '1019', 1, '21', '18', '12/08/2026 08:00:00 AM', 'DEMO')"));
    form->tmrRefresh_Timer();
    EXPECT_EQ(grid.TextMatrix(grid.Row(), 1), chosen);
    EXPECT_EQ(grid.TopRow(), 20);
    EXPECT_TRUE(listedNumbers().contains(QStringLiteral("3000")));

    // A document no longer listed: the listing starts from its first row again.
    sql(QStringLiteral("UPDATE INVENTORY..tbInvWithdrawRequest SET Status = 'D' WHERE "
                       "DocumentNumber = %1")
            .arg(db::quote(chosen)));
    form->tmrRefresh_Timer();
    EXPECT_EQ(grid.Row(), 1);
}

// ----- numbers shared by ordinary and consolidation requests ---------------------------------

TEST_F(SaveTest, ConsolidationAndOrdinaryRequestsNeverShareANumber)
{
    // A consolidation request already holds a number past every ordinary one.
    sql(QStringLiteral("INSERT INTO INVENTORY..tbInvWithdrawRequestConsolidation (DocumentNumber, "
                       "ItemID, Quantity, LocationID, TargetLocationID, TransDate, UserID) VALUES "
                       "('1500', '1019', 1, '21', '18', '12/08/2026 08:00:00 AM', 'DEMO')"));
    const auto saveNew = [this](bool consolidation, const char *code) {
        newDocument({{code, "5", "2.5"}});
        form->flags().IsConsolidation = consolidation;
        form->cmdSave_Click();
        return prompt.lastText();
    };
    EXPECT_EQ(saveNew(true, "1001"),
              QStringLiteral("Document #: 1501 still needs to be verified "));
    // The second new consolidation request keeps the first.
    EXPECT_EQ(saveNew(true, "1012"),
              QStringLiteral("Document #: 1502 still needs to be verified "));
    EXPECT_EQ(saveNew(false, "1019"),
              QStringLiteral("Document #: 1503 still needs to be verified "));
    EXPECT_EQ(rows(QStringLiteral("select DocumentNumber, ItemID from "
                                  "INVENTORY..tbInvWithdrawRequestConsolidation where "
                                  "DocumentNumber > '1500' order by DocumentNumber")),
              (QStringList {QStringLiteral("1501|1001"), QStringLiteral("1502|1012")}));
    EXPECT_EQ(linesOf(QStringLiteral("1503"), QStringLiteral("ItemID")),
              QStringList {QStringLiteral("1019")});
    EXPECT_EQ(GetNewDocNumber(), QStringLiteral("1504"));
}

TEST_F(SaveTest, MrisSequenceNeverHandsOutANumberADocumentHolds)
{
    setSite(QStringLiteral("ZRWB"));
    Session.IsWDEntered = true;
    sql(QStringLiteral("UPDATE INVENTORY..tbInvMRISDocnum SET SequenceNumber = 1700"));
    EXPECT_EQ(GetNewDocNumber(), QStringLiteral("1701"));
    // The sequence lags behind a consolidation request: its number is not handed out again.
    sql(QStringLiteral("INSERT INTO INVENTORY..tbInvWithdrawRequestConsolidation (DocumentNumber, "
                       "ItemID, Quantity) VALUES ('1701', '1019', 1)"));
    EXPECT_EQ(GetNewDocNumber(), QStringLiteral("1702"));
    EXPECT_TRUE(prompt.shown().empty());
}

// ----- who may confirm a verification ---------------------------------------------------------

TEST_F(SaveTest, OnlyAnotherEmployeeWithTheVerifyRightConfirms)
{
    setProgramFolder(QStringLiteral(SR_SOURCE_DIR "/reports"));
    // NURSE1 has a password but not the verify right.
    sql(QStringLiteral("UPDATE Password..tbPasswordMain SET Password = %1 WHERE EmployeeID = "
                       "'NURSE1'")
            .arg(db::quote(EncodePassword(QStringLiteral("E"), QString::fromLatin1(PasswordKey),
                                          QStringLiteral("nurse")))));
    newDocument({{"1001", "10", "2.5"}});
    QStringList refusals;
    bool stillOpen = true;
    modal.expect([&](QDialog &dialog) {
        auto &confirm = static_cast<frmDeletePassword &>(dialog);
        const auto attempt = [&](const char *id, const char *password) {
            confirm.txtUserID->setText(QLatin1String(id));
            confirm.txtPassword->setText(QLatin1String(password));
            confirm.cmdEnter->click();
        };
        attempt("demo", "demo"); // the author himself, whatever the letter case
        attempt("NURSE1", "nurse");
        stillOpen = confirm.result() != QDialog::Accepted && !confirm.OKCharge;
        refusals = prompt.texts();
        attempt("verify", "verify"); // typed in lower case
    });
    form->cmdVerify_Click();

    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(refusals,
              (QStringList {QStringLiteral("Employee DEMO wrote this request and cannot verify "
                                           "it. Another employee must confirm."),
                            QStringLiteral("Employee NURSE1 is not allowed to verify requests.")}));
    // Stored as the employee table spells the id.
    EXPECT_EQ(linesOf(QStringLiteral("1013"), QStringLiteral("Verifiedby")),
              QStringList {QStringLiteral("VERIFY")});

    // Outside a verification the same dialog asks no more than a valid password.
    modal.expect([](QDialog &dialog) {
        auto &confirm = static_cast<frmDeletePassword &>(dialog);
        confirm.txtUserID->setText(QStringLiteral("DEMO"));
        confirm.txtPassword->setText(QStringLiteral("demo"));
        confirm.cmdEnter->click();
    });
    ui::showModal(frmDeletePassword::instance());
    EXPECT_TRUE(frmDeletePassword::instance().OKCharge);
    EXPECT_EQ(frmDeletePassword::instance().VerifyID, QStringLiteral("DEMO"));
}

// ----- refusals part-way through a save ----------------------------------------------------

class SaveFaultTest : public SaveTest
{
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        logInWithFaults(QStringLiteral("DEMO"));
        Session.Shell = &shell;
        LoadHospitalInfo();
        setSite(QStringLiteral("Q4VH"));
        setSwitch(QStringLiteral("91"), true); // lot numbers: more statements per line
    }

    // Presses Save with the k-th statement of its transaction refused (the COMMIT included),
    // for k = 1, 2, ... until a save gets through; after each refusal every table must be as
    // before. Answers the number of statements refused.
    int saveUntilThrough(const char *what)
    {
        const testing_support::TableSnapshot before(*database);
        int torn = 0;
        int lost = 0;
        int k = 1;
        for (;; ++k) {
            if (k >= 300) {
                ADD_FAILURE() << what << ": the save never got through";
                break;
            }
            prompt.clear();
            faulty->arm(k, true);
            form->cmdSave_Click();
            if (!faulty->refused())
                break;
            const testing_support::TableSnapshot after(*database);
            lost += before.rowsMissingFrom(after);
            if (after != before)
                ++torn;
            EXPECT_EQ(after, before) << what << ", statement " << k << " refused"
                                     << before.difference(after).toStdString();
            EXPECT_EQ(prompt.shown().back().icon, ui::Icon::Critical) << what << " " << k;
            EXPECT_FALSE(database->inTransaction()) << what << " " << k;
        }
        faulty->arm(0);
        std::cout << "[ figures  ] " << what << ": " << k - 1 << " statements refused in turn, "
                  << torn << " documents torn, " << lost << " rows lost\n";
        EXPECT_EQ(torn, 0);
        EXPECT_EQ(lost, 0);
        return k - 1;
    }
};

TEST_F(SaveFaultTest, EveryRefusedStatementLeavesTheDocumentsWhollyOldOrWhollyNew)
{
    newDocument({{"1001", "10", "2.5", "N", "LOT-1"}, {"1012", "3", "42", "Y", "LOT-2"}});
    EXPECT_GE(saveUntilThrough("new request"), 8);
    EXPECT_EQ(text("txtDocNum"), QStringLiteral("1013"));
    EXPECT_EQ(linesOf(QStringLiteral("1013"), QStringLiteral("ItemID, lotnumber")),
              (QStringList {QStringLiteral("1001|LOT-1"), QStringLiteral("1012|LOT-2")}));

    // The same document opened again and changed: every refusal leaves its old lines.
    child<QTabWidget>("SSTab1")->setCurrentIndex(0);
    selectListed(QStringLiteral("1013"));
    form->grdListing_DblClick();
    ASSERT_EQ(text("txtDocNum"), QStringLiteral("1013"));
    setLines({{"1019", "7", "4.5", "N", "LOT-3"}});
    EXPECT_GE(saveUntilThrough("changed request"), 4);
    EXPECT_EQ(linesOf(QStringLiteral("1013"), QStringLiteral("ItemID, Quantity, lotnumber")),
              QStringList {QStringLiteral("1019|7|LOT-3")});
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
