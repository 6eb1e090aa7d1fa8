#include "EngineFixture.h"

#include "platform/db/DatabaseError.h"

namespace {

struct RaiseCase
{
    const char *call; // RAISERROR's arguments after the message's severity and state
    const char *format;
    const char *expected;
};

std::ostream &operator<<(std::ostream &os, const RaiseCase &c)
{
    return os << c.format;
}

// RAISERROR fills its message's placeholders as the server documents; above severity 10 the
// text is the error's message, at 10 or below an informational message and the batch goes on.
class RaiseErrorTest : public EngineTest, public ::testing::WithParamInterface<RaiseCase>
{
};

TEST_P(RaiseErrorTest, ErrorCarriesTheFormattedText)
{
    const QString args = QString::fromUtf8(GetParam().call);
    const QString sql = QStringLiteral("RAISERROR(N'%1', 16, 1%2)")
                            .arg(QString::fromUtf8(GetParam().format),
                                 args.isEmpty() ? QString() : QStringLiteral(", ") + args);
    try {
        m_db->execute(sql);
        FAIL() << "no error from " << sql.toStdString();
    } catch (const db::DatabaseError &e) {
        EXPECT_EQ(e.message(), QString::fromUtf8(GetParam().expected)) << sql.toStdString();
    }
}

TEST_P(RaiseErrorTest, SeverityTenIsAMessage)
{
    const QString args = QString::fromUtf8(GetParam().call);
    const QString sql = QStringLiteral("RAISERROR('%1', 10, 1%2) select 'after' as a")
                            .arg(QString::fromUtf8(GetParam().format),
                                 args.isEmpty() ? QString() : QStringLiteral(", ") + args);
    EXPECT_EQ(scalar(sql), QVariant(QStringLiteral("after")));
    EXPECT_EQ(m_db->engine().takeMessages(), QStringList {QString::fromUtf8(GetParam().expected)});
}

INSTANTIATE_TEST_SUITE_P(
    Messages, RaiseErrorTest,
    ::testing::Values(
        RaiseCase {"N'number', 5", "This is message %s %d.", "This is message number 5."},
        RaiseCase {"7, 3, N'abcde'", "<<%*.*s>>", "<<    abc>>"},
        RaiseCase {"N'abcde'", "<<%7.3s>>", "<<    abc>>"},
        RaiseCase {"42, 42, 42", "%5d|%-5d|%05d", "   42|42   |00042"},
        RaiseCase {"255, 255, 8, -1", "%x %X %o %u", "ff FF 10 4294967295"},
        RaiseCase {"255, 5, -5", "%#x %+d % d", "0xff +5 -5"}, RaiseCase {"4, 7", "%*i", "   7"},
        RaiseCase {"'X-1'", "Item %s: %d lines", "Item X-1: (null) lines"},
        RaiseCase {"NULL", "[%s]", "[(null)]"}, RaiseCase {"", "100%% done", "100% done"},
        RaiseCase {"", "no placeholders", "no placeholders"}));

TEST_F(EngineTest, RaiseErrorTakesVariablesAndStopsTheProcedure)
{
    m_db->runScript(
        QStringLiteral("CREATE PROCEDURE dbo.sp_Test_Check @DocNo varchar(20)\nAS\nBEGIN\n"
                       "    DECLARE @n int\n"
                       "    SELECT @n = count(*) FROM INVENTORY..tbTest WHERE DocNo = @DocNo\n"
                       "    IF @n = 0\n"
                       "        RAISERROR('Document %s not found (%d lines).', 16, 1, @DocNo, @n)\n"
                       "    UPDATE INVENTORY..tbTest SET Remarks = 'checked' WHERE DocNo = @DocNo\n"
                       "END\n"));
    try {
        m_db->execute(QStringLiteral("Inventory..sp_Test_Check 'X-9'"));
        FAIL() << "no error";
    } catch (const db::DatabaseError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Document X-9 not found (0 lines)."));
    }
    m_db->execute(QStringLiteral("Inventory..sp_Test_Check 'X-1'"));
    EXPECT_EQ(scalar(QStringLiteral("select Remarks from inventory..tbTest where DocNo = 'X-1'")),
              QVariant(QStringLiteral("checked")));
}

TEST_F(EngineTest, RaiseErrorRefusesArgumentsOfTheWrongType)
{
    try {
        m_db->execute(QStringLiteral("RAISERROR('%d', 16, 1, 'abc')"));
        FAIL() << "no error";
    } catch (const db::DatabaseError &e) {
        EXPECT_TRUE(e.message().startsWith(
            QStringLiteral("The data type of substitution parameter 1 does not match")))
            << e.message().toStdString();
    }
    EXPECT_THROW(m_db->execute(QStringLiteral("RAISERROR('%d', 16)")), db::DatabaseError);
    EXPECT_THROW(m_db->execute(QStringLiteral("RAISERROR('x %q', 16, 1)")), db::DatabaseError);
    // PRINT is a message too.
    m_db->execute(QStringLiteral("print 'one' + '-' + 'two'"));
    EXPECT_EQ(m_db->engine().takeMessages(), QStringList {QStringLiteral("one-two")});
}

} // namespace
