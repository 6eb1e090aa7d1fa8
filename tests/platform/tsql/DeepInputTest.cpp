#include "EngineFixture.h"

#include "platform/db/DatabaseError.h"
#include "platform/tsql/Engine.h"

#include <QDir>
#include <QFile>
#include <random>

namespace {

QString repeated(const QString &first, const QString &term, int count)
{
    QString out = first;
    out.reserve(first.size() + term.size() * count);
    for (int i = 0; i < count; ++i)
        out += term;
    return out;
}

struct ChainCase
{
    const char *name;
    std::function<QString()> sql;
    QVariant expected; // invalid: a clear refusal is the answer
};

std::ostream &operator<<(std::ostream &os, const ChainCase &c)
{
    return os << c.name;
}

// Chains of thousands of terms, and nesting past any sane depth: each gives its result or a
// refusal naming the trouble, and the engine goes on answering.
class DeepInputTest : public EngineTest, public ::testing::WithParamInterface<ChainCase>
{
};

TEST_P(DeepInputTest, AnswersOrRefusesCleanly)
{
    const QString sql = GetParam().sql();
    if (GetParam().expected.isValid()) {
        EXPECT_EQ(scalar(sql), GetParam().expected) << GetParam().name;
    } else {
        try {
            m_db->query(sql);
            ADD_FAILURE() << GetParam().name << " ran";
        } catch (const db::DatabaseError &e) {
            EXPECT_TRUE(e.message().contains(QLatin1String("nested too deeply")))
                << e.message().left(300).toStdString();
        }
    }
    EXPECT_EQ(count(QStringLiteral("select * from inventory..tbTest")), 4);
}

INSTANTIATE_TEST_SUITE_P(
    Robustness, DeepInputTest,
    ::testing::Values(
        ChainCase {
            "sum of 7000 ones",
            [] { return repeated(QStringLiteral("select 1"), QStringLiteral(" + 1"), 6999); },
            QVariant(qlonglong(7000))},
        ChainCase {"sum of 100000 ones",
                   [] { return repeated(QStringLiteral("select 1"), QStringLiteral("+1"), 99999); },
                   QVariant(qlonglong(100000))},
        ChainCase {"text of 7000 pieces",
                   [] {
                       return QStringLiteral("select len(")
                           + repeated(QStringLiteral("'a'"), QStringLiteral(" + 'b'"), 6999)
                           + QLatin1Char(')');
                   },
                   QVariant(qlonglong(7000))},
        ChainCase {"7000 OR terms",
                   [] {
                       QString sql = QStringLiteral(
                           "select count(*) from inventory..tbTest where DocNo = 'x0'");
                       for (int i = 1; i < 7000; ++i)
                           sql += QStringLiteral(" or DocNo = 'x%1'").arg(i);
                       return sql + QStringLiteral(" or DocNo = '1001' or Name = 'gauze'");
                   },
                   QVariant(qlonglong(2))},
        ChainCase {"7000 AND terms",
                   [] {
                       return repeated(QStringLiteral("select count(*) from inventory..tbTest "
                                                      "where Qty > 0"),
                                       QStringLiteral(" and Name <> 'none'"), 7000);
                   },
                   QVariant(qlonglong(3))},
        ChainCase {
            "7000 terms of mixed types",
            [] { return repeated(QStringLiteral("select 1.5"), QStringLiteral(" + 1 - 1"), 3500); },
            QVariant()},
        ChainCase {"nested parentheses",
                   [] {
                       return QStringLiteral("select ") + QString(5000, QLatin1Char('('))
                           + QLatin1Char('1') + QString(5000, QLatin1Char(')'));
                   },
                   QVariant()},
        ChainCase {"nested subqueries",
                   [] {
                       return repeated(QStringLiteral("select "), QStringLiteral("(select "), 400)
                           + QLatin1Char('1') + QString(400, QLatin1Char(')'));
                   },
                   QVariant()},
        ChainCase {"nested NOT",
                   [] {
                       return repeated(QStringLiteral("select count(*) from inventory..tbTest "
                                                      "where "),
                                       QStringLiteral("not "), 5000)
                           + QStringLiteral("DocNo = '1'");
                   },
                   QVariant()}));

// Statements of the database's own scripts and the program's, cut, spliced and repeated at
// random: each runs or is refused with a message; none crashes the engine.
TEST_F(EngineTest, MutatedScriptsNeverCrash)
{
    QStringList seeds;
    for (const char *script : {"schema.sql", "procedures.sql", "demo.sql"}) {
        QFile file(QDir(QStringLiteral(SR_SOURCE_DIR "/database")).filePath(QLatin1String(script)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << script;
        for (const QString &batch : tsql::Engine::splitBatches(QString::fromUtf8(file.readAll())))
            seeds << batch.left(4000);
    }
    ASSERT_GT(seeds.size(), 20);
    const QString alphabet = QStringLiteral("'\"[]()*,.;=<>+-/%@#$ \n\t0123456789abcXYZ_\\`");
    const QStringList words
        = {QStringLiteral(" select "),   QStringLiteral(" from "), QStringLiteral(" where "),
           QStringLiteral(" group by "), QStringLiteral(" or "),   QStringLiteral(" + "),
           QStringLiteral(" ("),         QStringLiteral(") "),     QStringLiteral(" begin "),
           QStringLiteral(" end "),      QStringLiteral(" go "),   QStringLiteral(" case when ")};
    std::mt19937 rng(20261208);
    auto pick = [&](qsizetype n) {
        return static_cast<qsizetype>(rng() % static_cast<unsigned>(n));
    };
    int ran = 0;
    int refused = 0;
    const int cases = 2500;
    for (int i = 0; i < cases; ++i) {
        QString sql = seeds[pick(seeds.size())];
        const int edits = 1 + static_cast<int>(rng() % 3);
        for (int k = 0; k < edits && !sql.isEmpty(); ++k) {
            const qsizetype at = pick(sql.size());
            switch (rng() % 6) {
            case 0:
                sql.truncate(at);
                break;
            case 1:
                sql.remove(at, 1 + pick(12));
                break;
            case 2:
                sql.insert(at, alphabet[pick(alphabet.size())]);
                break;
            case 3:
                sql.insert(at, words[pick(words.size())]);
                break;
            case 4: {
                // A piece of the text repeated: long chains and deep nesting.
                const QString piece = sql.mid(at, 1 + pick(16));
                sql.insert(at, piece.repeated(1 + pick(400)));
                break;
            }
            default:
                sql[at] = alphabet[pick(alphabet.size())];
            }
        }
        try {
            m_db->query(sql);
            ++ran;
        } catch (const db::DatabaseError &e) {
            EXPECT_FALSE(e.message().isEmpty());
            ++refused;
        }
    }
    EXPECT_EQ(ran + refused, cases);
    EXPECT_GT(refused, 0);
    EXPECT_GT(ran, 0);
    EXPECT_EQ(scalar(QStringLiteral("select 1 + 1")), QVariant(qlonglong(2)));
}

} // namespace
