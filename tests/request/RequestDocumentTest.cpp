// The request document's own rules, without a form: what replaces it, which states may be
// changed, what counts as changed, its totals and how it compares with what is stored.
#include "request/RequestDocument.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

RequestLine line(const char *item, double quantity, const char *unitCost)
{
    RequestLine l;
    l.itemId = QLatin1String(item);
    l.quantity = quantity;
    l.unitCost = format::Currency::fromText(QLatin1String(unitCost));
    l.retail = QStringLiteral("N");
    return l;
}

StoredLine storedLine(const char *item, double quantity, const char *unitCost)
{
    StoredLine l;
    l.itemId = QLatin1String(item);
    l.quantity = quantity;
    l.unitCost = format::Currency::fromText(QLatin1String(unitCost));
    l.retail = QStringLiteral("N");
    return l;
}

RequestDocument::Loaded storedDocument(const QString &status = QString(),
                                       const QString &verifier = QString())
{
    RequestDocument::Loaded loaded;
    loaded.number = QStringLiteral("1001");
    loaded.remarks = QStringLiteral("Weekly");
    loaded.supplying = {QStringLiteral("21"), QStringLiteral("Central Warehouse")};
    loaded.requesting = {QStringLiteral("18"), QStringLiteral("Medical Ward")};
    loaded.section = {QStringLiteral("S011"), QStringLiteral("Medical Ward A")};
    loaded.lines = {line("1019", 50, "4.5"), line("1024", 5, "180")};
    loaded.stored.table = QStringLiteral("tbInvWithdrawRequest");
    loaded.stored.number = QStringLiteral("1001");
    loaded.stored.status = status;
    loaded.stored.verifiedBy = verifier;
    loaded.stored.lines = {storedLine("1019", 50, "4.5"), storedLine("1024", 5, "180")};
    return loaded;
}

TEST(RequestDocumentTest, NewReplacesEverythingOfTheDocumentBefore)
{
    RequestDocument document;
    RequestDocument::Loaded consolidation = storedDocument(QString(), QStringLiteral("VERIFY"));
    consolidation.stored.table = QStringLiteral("tbInvWithdrawRequestConsolidation");
    consolidation.isRequest = false;
    document.load(consolidation);
    ASSERT_TRUE(document.isConsolidation());
    ASSERT_FALSE(document.isEditable());

    QSignalSpy resets(&document, &RequestDocument::reset);
    document.startNew(true, false);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_TRUE(document.isNew());
    EXPECT_TRUE(document.isRequest());
    EXPECT_FALSE(document.isConsolidation());
    EXPECT_EQ(document.lineTable(), QStringLiteral("tbInvWithdrawRequest"));
    EXPECT_EQ(document.number(), QStringLiteral("NEW"));
    EXPECT_EQ(document.requestOrderNumber(), QStringLiteral("NEW"));
    EXPECT_TRUE(document.lines().empty());
    EXPECT_TRUE(document.remarks().isEmpty());
    EXPECT_TRUE(document.section().id.isEmpty());
    EXPECT_TRUE(document.supplying().id.isEmpty());
    EXPECT_TRUE(document.isEditable());
    EXPECT_FALSE(document.hasUnsavedChanges());
    EXPECT_EQ(document.total(), format::Currency());
}

TEST(RequestDocumentTest, AReturnStoresItsLocationsSwapped)
{
    RequestDocument document;
    document.startNew(false, true);
    document.setSupplying({QStringLiteral("21"), QStringLiteral("Central Warehouse")});
    document.setRequesting({QStringLiteral("19"), QStringLiteral("Surgical Ward")});
    EXPECT_EQ(document.kind(), RequestDocument::Kind::ConsolidationReturn);
    EXPECT_EQ(document.lineTable(), QStringLiteral("tbInvWithdrawRequestConsolidation"));
    EXPECT_EQ(document.locationId(), QStringLiteral("19"));
    EXPECT_EQ(document.targetLocationId(), QStringLiteral("21"));

    document.startNew(true, false);
    document.setSupplying({QStringLiteral("21"), QString()});
    document.setRequesting({QStringLiteral("19"), QString()});
    EXPECT_EQ(document.locationId(), QStringLiteral("21"));
    EXPECT_EQ(document.targetLocationId(), QStringLiteral("19"));
}

TEST(RequestDocumentTest, LinesAddReplaceAndRemoveWithExactTotals)
{
    RequestDocument document;
    document.startNew(true, false);
    QSignalSpy added(&document, &RequestDocument::lineAdded);
    QSignalSpy changed(&document, &RequestDocument::lineChanged);
    QSignalSpy removed(&document, &RequestDocument::lineRemoved);

    EXPECT_EQ(document.setLine(0, line("1019", 3, "0.1")), 0);
    EXPECT_EQ(document.setLine(7, line("1024", 3, "0.2")), 1); // past the end: added
    EXPECT_EQ(added.count(), 2);
    // Tenths that a binary sum would get wrong add up exactly.
    EXPECT_EQ(document.total(), format::Currency::fromText(QStringLiteral("0.9")));

    EXPECT_EQ(document.setLine(0, line("1019", 10, "1040")), 0);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(document.lineCount(), 2);
    EXPECT_EQ(document.findItem(QStringLiteral("1024")), 1);
    EXPECT_EQ(document.findItem(QStringLiteral("9999")), -1);
    document.setQuantity(1, 5);
    EXPECT_EQ(document.total(), format::Currency::fromText(QStringLiteral("10401")));

    document.removeLine(0);
    document.removeLine(5); // no such line: nothing happens
    EXPECT_EQ(removed.count(), 1);
    ASSERT_EQ(document.lineCount(), 1);
    EXPECT_EQ(document.lines().front().itemId, QStringLiteral("1024"));
    EXPECT_EQ(document.total(), format::Currency::fromText(QStringLiteral("1")));
}

struct StatusCase
{
    const char *status;
    const char *verifier;
    bool editable;
    const char *reasonPart;
};

class StatusTest : public ::testing::TestWithParam<StatusCase>
{
};

TEST_P(StatusTest, OnlyPendingUnverifiedDocumentsMayChange)
{
    const StatusCase &c = GetParam();
    RequestDocument document;
    RequestDocument::Loaded loaded
        = storedDocument(QLatin1String(c.status), QLatin1String(c.verifier));
    loaded.stored.verifiedDate = QDateTime(QDate(2026, 12, 2), QTime(9, 30));
    document.load(loaded);
    EXPECT_EQ(document.isEditable(), c.editable);
    const QString reason = document.readOnlyReason(QStringLiteral("Santos, Mark"));
    if (c.editable) {
        EXPECT_TRUE(reason.isEmpty());
    } else {
        EXPECT_TRUE(reason.contains(QLatin1String(c.reasonPart))) << reason.toStdString();
        EXPECT_TRUE(reason.endsWith(QStringLiteral("read only"))) << reason.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, StatusTest,
    ::testing::Values(StatusCase {"", "", true, ""}, StatusCase {" ", " ", true, ""},
                      StatusCase {"", "VERIFY", false, "Verified by Santos, Mark on 12/02/2026"},
                      StatusCase {"P", "VERIFY", false, "processed"},
                      StatusCase {"A", "", false, "Approved"},
                      StatusCase {"C", "", false, "Cancelled"},
                      StatusCase {"D", "", false, "Deleted"}));

TEST(RequestDocumentTest, UnsavedChangesAreTheUsersOnly)
{
    RequestDocument document;
    document.startNew(true, false);
    // Choosing locations is not yet work to lose.
    document.setSupplying({QStringLiteral("21"), QStringLiteral("Central Warehouse")});
    EXPECT_FALSE(document.hasUnsavedChanges());
    document.setRemarks(QStringLiteral("Ward stock"));
    EXPECT_TRUE(document.hasUnsavedChanges());

    document.load(storedDocument());
    EXPECT_FALSE(document.hasUnsavedChanges());
    document.setRemarks(QStringLiteral("Weekly")); // the same text
    EXPECT_FALSE(document.hasUnsavedChanges());
    document.setQuantity(0, 51);
    EXPECT_TRUE(document.hasUnsavedChanges());

    StoredState saved = storedDocument().stored;
    saved.lines.front().quantity = 51;
    document.markSaved(saved);
    EXPECT_FALSE(document.hasUnsavedChanges());
    EXPECT_FALSE(document.isNew());
}

struct ChangeCase
{
    const char *name;
    void (*change)(StoredState &);
    bool same;
};

class StoredChangeTest : public ::testing::TestWithParam<ChangeCase>
{
};

TEST_P(StoredChangeTest, TheSaveSeesWhatAnotherWorkstationChanged)
{
    const StoredState opened = storedDocument().stored;
    StoredState now = opened;
    GetParam().change(now);
    EXPECT_EQ(RequestDocument::sameStoredDocument(opened, now), GetParam().same);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, StoredChangeTest,
    ::testing::Values(
        ChangeCase {"Nothing", [](StoredState &) {}, true},
        ChangeCase {"RowsInAnotherOrder", [](StoredState &s) { std::swap(s.lines[0], s.lines[1]); },
                    true},
        ChangeCase {"Verified", [](StoredState &s) { s.verifiedBy = QStringLiteral("VERIFY"); },
                    false},
        ChangeCase {"Processed", [](StoredState &s) { s.status = QStringLiteral("P"); }, false},
        ChangeCase {"LineRemoved", [](StoredState &s) { s.lines.pop_back(); }, false},
        ChangeCase {"Deleted", [](StoredState &s) { s.lines.clear(); }, false},
        ChangeCase {"QuantityChanged", [](StoredState &s) { s.lines[0].quantity = 49; }, false},
        ChangeCase {"CostChanged",
                    [](StoredState &s) {
                        s.lines[1].unitCost = format::Currency::fromText(QStringLiteral("181"));
                    },
                    false},
        ChangeCase {
            "OtherTable",
            [](StoredState &s) { s.table = QStringLiteral("tbInvWithdrawRequestConsolidation"); },
            false},
        ChangeCase {"OtherNumber", [](StoredState &s) { s.number = QStringLiteral("1002"); },
                    false}),
    [](const ::testing::TestParamInfo<ChangeCase> &info) { return info.param.name; });

} // namespace
