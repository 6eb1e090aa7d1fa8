// The request listing (both forms, every filter, switch 91 on and off, the consolidation date
// window, newest first at MKWV) and the acknowledgement poll, as the main form builds them.
#include "StatementTest.h"

#include "request/Listing.h"

#include <gtest/gtest.h>

namespace {

using dbtest::StatementTest;

struct Filter
{
    bool requestOrders = false;
    int option = 0; // optOptions index: 0..4 withdrawals, 6/7 request orders
    bool verified = false;
    bool switch91 = false;
    QString search; // txtSearch as typed
    bool newestFirst = false; // site MKWV
    QString user = QStringLiteral("DEMO");
};

// The statement the main form builds for the filter.
QString listing(const Filter &f)
{
    ListingFilter filter;
    filter.employeeCode = f.user;
    filter.requestOrders = f.requestOrders;
    filter.lotNumbers = f.switch91;
    filter.option = f.option;
    filter.verified = f.verified;
    filter.search = f.search;
    filter.newestFirst = f.newestFirst;
    return ListingStatement(filter);
}

struct ListingCase
{
    const char *name;
    Filter filter;
    QStringList documents; // in the listed order
};

class ListingTest : public StatementTest, public ::testing::WithParamInterface<ListingCase>
{
};

TEST_P(ListingTest, ListsTheUsersDocumentsInDateOrder)
{
    EXPECT_EQ(texts(listing(GetParam().filter), 0), GetParam().documents);
}

Filter make(int option, bool verified, QString search = QString(), bool newestFirst = false,
            bool switch91 = false)
{
    Filter f;
    f.option = option;
    f.verified = verified;
    f.search = std::move(search);
    f.newestFirst = newestFirst;
    f.switch91 = switch91;
    return f;
}

Filter requestOrders(int option, bool verified, bool switch91 = false)
{
    Filter f = make(option, verified, QString(), false, switch91);
    f.requestOrders = true;
    return f;
}

const QStringList PendingUnverified {"MR-0415", "1001", "1008", "1010", "1011"};

INSTANTIATE_TEST_SUITE_P(
    Filters, ListingTest,
    ::testing::Values(
        ListingCase {"PendingUnverified", make(0, false), PendingUnverified},
        ListingCase {"PendingUnverifiedWith91", make(0, false, {}, false, true), PendingUnverified},
        ListingCase {"PendingNewestFirst",
                     make(0, false, {}, true),
                     {"1011", "1010", "1008", "1001", "MR-0415"}},
        ListingCase {"PendingVerified", make(0, true), {"1002", "1012"}},
        ListingCase {"Processing", make(1, true), {"1003"}},
        ListingCase {"ProcessingUnverified", make(1, false), {}},
        ListingCase {"Approved", make(2, true), {"1004"}},
        ListingCase {"Cancelled", make(3, true), {"1005"}},
        ListingCase {"ConsolidationWindow", make(4, false), {"900", "902"}},
        ListingCase {"ConsolidationVerified", make(4, true), {}},
        ListingCase {"SearchOneNumber", make(0, false, QStringLiteral("1001")), {"1001"}},
        ListingCase {"SearchWildcard",
                     make(0, false, QStringLiteral("10%")),
                     {"1001", "1008", "1010", "1011"}},
        ListingCase {"SearchAnyCase", make(0, false, QStringLiteral("mr-0415")), {"MR-0415"}},
        ListingCase {"SearchTrimmed", make(0, false, QStringLiteral(" 1008 ")), {"1008"}},
        ListingCase {"SearchBlanksOnly", make(0, false, QStringLiteral("   ")), {}},
        ListingCase {"SearchWithQuote", make(0, false, QStringLiteral("10'01")), {}},
        ListingCase {"RequestOrdersPending", requestOrders(7, false), {"RO-2026-1"}},
        ListingCase {"RequestOrdersPendingWith91", requestOrders(7, false, true), {"RO-2026-1"}},
        ListingCase {"RequestOrdersPendingVerified", requestOrders(7, true), {}},
        ListingCase {"RequestOrdersProcessed", requestOrders(6, true), {"RO-2026-2"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ListingTest, RowCarriesBothLocationNamesTheDateAndTheRequester)
{
    db::Recordset rs = run(listing(make(0, false, QStringLiteral("1010"))));
    ASSERT_EQ(rs.recordCount(), 1);
    ASSERT_EQ(rs.fieldCount(), 7);
    EXPECT_EQ(rs.text(1), QStringLiteral("Emergency Room"));
    EXPECT_EQ(rs.text(2), QStringLiteral("Dispensing Area"));
    EXPECT_EQ(rs.value(3).toDateTime(), at(12, 6, 7, 45));
    EXPECT_EQ(rs.text(4), QStringLiteral("Garcia, Liza"));
    EXPECT_EQ(rs.text(5), QStringLiteral("23"));
    EXPECT_EQ(rs.text(6), QStringLiteral("NURSE1"));
}

TEST_F(ListingTest, DistinctGivesOneRowPerDocumentOfSeveralLines)
{
    EXPECT_EQ(texts(listing(make(1, true)), 0), QStringList {QStringLiteral("1003")});
    EXPECT_EQ(rowCount(QStringLiteral("select * from inventory..tbinvwithdrawrequest where "
                                      "documentnumber = '1003' ")),
              5);
}

TEST_F(ListingTest, RequestFlagIsTrueWhenNullAndFalseForReturns)
{
    db::Recordset rs = run(listing(make(0, false, {}, false, true)));
    ASSERT_EQ(rs.fieldCount(), 8);
    QMap<QString, bool> isRequest;
    for (; !rs.eof(); rs.moveNext())
        isRequest.insert(rs.text(0), rs.field("isRequest").toBool());
    EXPECT_TRUE(isRequest.value(QStringLiteral("1001"))); // Null
    EXPECT_TRUE(isRequest.value(QStringLiteral("1008"))); // stored true
    EXPECT_FALSE(isRequest.value(QStringLiteral("1011"), true)); // a return
}

TEST_F(ListingTest, DeletedDocumentsAreListedNowhere)
{
    for (int option : {0, 1, 2, 3}) {
        for (bool verified : {false, true})
            EXPECT_FALSE(texts(listing(make(option, verified)), 0).contains(QStringLiteral("1006")))
                << option << verified;
    }
}

TEST_F(ListingTest, OtherUsersSeeTheirOwnLocationsOnly)
{
    Filter f = make(0, false);
    f.user = QStringLiteral("VERIFY");
    EXPECT_EQ(texts(listing(f), 0), (QStringList {"1001", "1009"}));
    f.user = QStringLiteral("NOBODY");
    EXPECT_EQ(rowCount(listing(f)), 0);
}

// The consolidation window runs from seven days before the first of the server's month up to,
// not including, the first of the next month, whatever the clock says.
struct WindowCase
{
    const char *name;
    QDateTime now;
    QDateTime transDate;
    bool listed;
};

class ConsolidationWindowTest : public StatementTest,
                                public ::testing::WithParamInterface<WindowCase>
{
};

TEST_P(ConsolidationWindowTest, DocumentIsListedInsideTheWindowOnly)
{
    const WindowCase &c = GetParam();
    db().setClock([now = c.now] { return now; });
    exec(QStringLiteral("Insert INVENTORY..tbInvWithdrawRequestConsolidation (DocumentNumber, "
                        "ItemID, Quantity, UnitCost, LocationID, TargetLocationID, TransDate, "
                        "UserID, Remarks) Values ('777','1019',1,4.5,'21','18','%1','DEMO','x')")
             .arg(c.transDate.toString(QStringLiteral("MM/dd/yyyy hh:mm:ss AP"))));
    EXPECT_EQ(texts(listing(make(4, false)), 0).contains(QStringLiteral("777")), c.listed);
}

QDateTime on(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

INSTANTIATE_TEST_SUITE_P(
    Clock, ConsolidationWindowTest,
    ::testing::Values(
        WindowCase {"FirstInstant", on(2026, 12, 8, 10, 15), on(2026, 11, 24), true},
        WindowCase {"SecondBefore", on(2026, 12, 8, 10, 15), on(2026, 11, 23, 23, 59, 59), false},
        WindowCase {"LastSecond", on(2026, 12, 8, 10, 15), on(2026, 12, 31, 23, 59, 59), true},
        WindowCase {"NextMonth", on(2026, 12, 8, 10, 15), on(2027, 1, 1), false},
        WindowCase {"FutureInMonth", on(2026, 12, 8, 10, 15), on(2026, 12, 20, 13), true},
        WindowCase {"MarchFromFebruary", on(2026, 3, 1, 0, 5), on(2026, 2, 22), true},
        WindowCase {"MarchTooEarly", on(2026, 3, 1, 0, 5), on(2026, 2, 21, 23), false},
        WindowCase {"MarchEnd", on(2026, 3, 31, 23, 59), on(2026, 3, 31, 23, 59, 59), true},
        WindowCase {"MarchNotApril", on(2026, 3, 31, 23, 59), on(2026, 4, 1), false},
        WindowCase {"JanuaryFromDecember", on(2027, 1, 15, 8), on(2026, 12, 25), true}),
    [](const auto &info) { return std::string(info.param.name); });

// ----- the acknowledgement poll ----------------------------------------------------------------

struct PollCase
{
    const char *user;
    bool waiting;
};

class AcknowledgementPollTest : public StatementTest, public ::testing::WithParamInterface<PollCase>
{
};

TEST_P(AcknowledgementPollTest, IssuedDocumentsWaitAtTheUsersLocations)
{
    const QString sql = QStringLiteral(" select top 1 * from inventory..tbinvwithdrawheader a ")
        + QStringLiteral(" where a.status = 'F' and ")
        + QStringLiteral(" a.targetlocationid in (select Locationid from "
                         "inventory..tbinvuserlocation ")
        + QStringLiteral(" where userid = '") + QLatin1String(GetParam().user)
        + QStringLiteral("')");
    db::Recordset rs = run(sql);
    EXPECT_EQ(!rs.eof(), GetParam().waiting);
    if (!rs.eof()) {
        EXPECT_EQ(rs.text("Status"), QStringLiteral("F"));
    }
}

INSTANTIATE_TEST_SUITE_P(Users, AcknowledgementPollTest,
                         ::testing::Values(PollCase {"DEMO", true}, PollCase {"NURSE1", true},
                                           PollCase {"VERIFY", true}, PollCase {"PHARM1", false},
                                           PollCase {"CLERK1", false}, PollCase {"NOBODY", false}));

TEST_F(AcknowledgementPollTest, NoticeEndsOnceEverythingIsAcknowledged)
{
    exec(QStringLiteral("Update Inventory..tbInvWithdrawHeader Set Status = 'P' Where "
                        "TargetLocationID in ('18','23')"));
    EXPECT_EQ(rowCount(QStringLiteral(" select top 1 * from inventory..tbinvwithdrawheader a  "
                                      "where a.status = 'F' and  a.targetlocationid in (select "
                                      "Locationid from inventory..tbinvuserlocation  where userid "
                                      "= 'DEMO')")),
              0);
}

} // namespace
