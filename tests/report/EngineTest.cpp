// The report engine as PrepareReport drives it: tables moved to the inventory database with the
// user's log-on, parameter values in order, values quoted in the query.
#include "ReportTestSupport.h"

#include <QFile>

namespace {

using testing_support::ReportTest;

class PrepareTest : public ReportTest
{
protected:
    QString writeTemplate()
    {
        const QString path = tempPath() + QStringLiteral("/Supplier.rpt");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(R"({
  "title": "Template title",
  "tables": [ {"name": "Master", "location": "PHARMACY.dbo.tbInvMaster"},
              {"name": "Loose", "location": "tbInvLocation"} ],
  "parameters": [ {"name": "{?SupplierID}"}, {"name": "{?@SupplierCode}"},
                  {"name": "{?@ItemID}"}, {"name": "{?Extra}", "value": "from template"} ],
  "query": "select ItemID, ItemName from {Master} where ItemID = {?@ItemID} and SupplierID <> {?SupplierID}",
  "header": ["{#Title}", "{?Extra}"],
  "columns": [ {"caption": "Code", "field": "ItemID"}, {"caption": "Name", "field": "ItemName"} ]
})");
        return path;
    }

    static QStringList values()
    {
        QStringList list;
        for (const report::ParameterField &field : Session.Report->ParameterFields())
            list << field.value();
        return list;
    }
};

TEST_F(PrepareTest, TablesMoveToInventoryWithTheUsersLogOn)
{
    PrepareReport(writeTemplate(), {QStringLiteral("S1")});
    ASSERT_NE(Session.Report, nullptr);
    EXPECT_EQ(Session.Report->ReportTitle, Session.Company);
    const auto &tables = Session.Report->Tables();
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0].Location, QStringLiteral("Inventory.dbo.tbInvMaster"));
    EXPECT_EQ(tables[1].Location, QStringLiteral("tbInvLocation")); // no database to replace
    for (const report::DatabaseTable &table : tables) {
        EXPECT_EQ(table.LogOn.DatabaseName, QStringLiteral("Inventory"));
        EXPECT_EQ(table.LogOn.ServerName, currentUser->ServerName());
        EXPECT_EQ(table.LogOn.UserID, currentUser->UserID());
        EXPECT_EQ(table.LogOn.Password, currentUser->ServerPassword());
    }
    ReleaseReport();
}

TEST_F(PrepareTest, ValuesFillFieldsInOrderAndSupplierFieldsGetABlank)
{
    const QString path = writeTemplate();
    PrepareReport(path, {QStringLiteral("S1"), QStringLiteral("C2"), QStringLiteral("10'19")});
    EXPECT_EQ(values(),
              (QStringList {QStringLiteral("S1 "), QStringLiteral("C2 "), QStringLiteral("10'19"),
                            QStringLiteral("from template")}));
    EXPECT_EQ(Session.Report->statement(),
              QStringLiteral("select ItemID, ItemName from Inventory.dbo.tbInvMaster where "
                             "ItemID = '10''19' and SupplierID <> 'S1 '"));

    // More values than fields: the rest are ignored. No values: the template's stay.
    PrepareReport(path,
                  {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                   QStringLiteral("d"), QStringLiteral("e")});
    EXPECT_EQ(values().last(), QStringLiteral("d"));
    PrepareReport(path, {});
    EXPECT_EQ(values(),
              (QStringList {QString(), QString(), QString(), QStringLiteral("from template")}));

    // The quoted value reads the database as one value.
    PrepareReport(path, {QStringLiteral("X"), QString(), QStringLiteral("1019")});
    const report::ReportContent content = Session.Report->read(*database);
    ASSERT_EQ(content.rows.size(), 1u);
    EXPECT_EQ(content.rows[0].at(1), QStringLiteral("SYRINGE"));
    EXPECT_TRUE(content.header.contains(QStringLiteral("from template")));
    ReleaseReport();
}

TEST_F(PrepareTest, UnusableTemplatesAreReported)
{
    EXPECT_THROW(PrepareReport(tempPath() + QStringLiteral("/none.rpt"), {}), report::ReportError);
    const QString path = tempPath() + QStringLiteral("/broken.rpt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{ \"query\": \"select * from {Nowhere}\" }");
    file.close();
    PrepareReport(path, {});
    EXPECT_THROW(Session.Report->statement(), report::ReportError);
    ReleaseReport();
}

} // namespace
