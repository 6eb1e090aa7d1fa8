// Printed documents on paper: which lines, headings and figures each document prints, and that
// the layout never breaks a number, a date or a code, never loses a line and keeps to the paper
// whatever the document holds.
#include "ReportTestSupport.h"

#include "platform/report/Layout.h"

#include <QAction>
#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

namespace {

using testing_support::ReportTest;
using testing_support::ShownReport;

class PaperTest : public ReportTest
{
protected:
    // Prints the listed document through the View button and returns what the viewer showed.
    ShownReport printListed(const QString &number, int option = 0)
    {
        frmMain &form = open();
        if (option != 0) {
            child<QRadioButton>(("optOptions_" + std::to_string(option)).c_str())->click();
            form.LoadListing();
        }
        selectListed(number);
        expectViewer();
        child<QPushButton>("cmdView")->click();
        EXPECT_EQ(shownReports.size(), 1u) << prompt.texts().join(QLatin1Char('|')).toStdString();
        return shownReports.empty() ? ShownReport {} : shownReports.back();
    }

    static QStringList column(const ShownReport &shown, const QString &caption)
    {
        QStringList values;
        for (size_t c = 0; c < shown.content.columns.size(); ++c)
            if (shown.content.columns[c].caption == caption)
                for (const QStringList &row : shown.content.rows)
                    values << row.value(static_cast<qsizetype>(c));
        return values;
    }

    static bool hasColumn(const ShownReport &shown, const QString &caption)
    {
        for (const auto &c : shown.content.columns)
            if (c.caption == caption)
                return true;
        return false;
    }

    // A request of the Medical Ward with the given lines (code, quantity, cost), lot and remark.
    void addRequest(const QString &number,
                    const std::vector<std::tuple<QString, QString, QString>> &lines,
                    const QString &remarks, const QString &lot = QString())
    {
        for (const auto &[item, quantity, cost] : lines)
            sql(QStringLiteral("INSERT INTO INVENTORY..tbInvWithdrawRequest (DocumentNumber, "
                               "ItemID, Quantity, UnitCost, ForRetail, isADS, LocationID, "
                               "TargetLocationID, TransDate, UserID, Remarks, lotnumber) VALUES "
                               "(%1, %2, %3, %4, 'N', 0, '21', '18', '12/08/2026 08:00:00 AM', "
                               "'DEMO', %5, %6)")
                    .arg(db::quote(number), db::quote(item), quantity, cost, db::quote(remarks),
                         lot.isEmpty() ? QStringLiteral("NULL") : db::quote(lot)));
    }
};

// Each kind of document prints under its own heading with its own lines.
struct KindCase
{
    const char *name;
    const char *site;
    int option;
    const char *number;
    const char *heading;
    const char *fromCaption;
    QStringList codes;
    const char *total;
};

std::ostream &operator<<(std::ostream &out, const KindCase &c)
{
    return out << c.name;
}

class DocumentKindTest : public PaperTest, public ::testing::WithParamInterface<KindCase>
{
};

TEST_P(DocumentKindTest, PrintsItsOwnHeadingLinesAndTotal)
{
    const KindCase &c = GetParam();
    setSite(QString::fromLatin1(c.site));
    // The ordinary table holds a document of the consolidation request's number: it must not be
    // mixed into the consolidation request.
    addRequest(QStringLiteral("900"),
               {{QStringLiteral("1001"), QStringLiteral("7"), QStringLiteral("2.5")}},
               QStringLiteral("Ordinary request numbered like a consolidation"));
    const ShownReport shown = printListed(QLatin1String(c.number), c.option);

    EXPECT_TRUE(shown.faults.isEmpty()) << shown.faults.join(QLatin1Char('\n')).toStdString();
    ASSERT_GE(shown.content.header.size(), 2);
    EXPECT_EQ(shown.content.header.constLast(), QLatin1String(c.heading));
    EXPECT_EQ(column(shown, QStringLiteral("Code")), c.codes);
    ASSERT_FALSE(shown.content.fields.empty());
    EXPECT_EQ(shown.content.fields[0].second, QLatin1String(c.number)); // the number asked for
    EXPECT_EQ(shown.content.fields[2].first, QLatin1String(c.fromCaption));
    ASSERT_EQ(shown.content.totals.size(), 1u);
    EXPECT_EQ(shown.content.totals[0].value, QLatin1String(c.total));
    EXPECT_TRUE(shown.text.contains(QLatin1String(c.heading)));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DocumentKindTest,
    ::testing::Values(KindCase {"Request",
                                "GEN",
                                0,
                                "1001",
                                "WITHDRAWAL REQUEST",
                                "Request From:",
                                {QStringLiteral("1019"), QStringLiteral("1024"),
                                 QStringLiteral("1025")},
                                "1,365.0000"},
                      KindCase {"Return",
                                "GEN",
                                0,
                                "1011",
                                "RETURN OF STOCK",
                                "Returned From:",
                                {QStringLiteral("1026")},
                                "250.0000"},
                      KindCase {"Consolidation",
                                "ZRWB",
                                4,
                                "900",
                                "CONSOLIDATION REQUEST",
                                "Request From:",
                                {QStringLiteral("1019"), QStringLiteral("1028")},
                                "2,400.0000"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PaperTest, ReturnNamesWhereTheStockGoesBack)
{
    const ShownReport shown = printListed(QStringLiteral("1011"));
    // Returned from the Pediatric Ward to the store room that lists it.
    EXPECT_EQ(shown.content.fields[2].second, QStringLiteral("Pediatric Ward"));
    EXPECT_EQ(shown.content.fields[3].first, QStringLiteral("Returned To:"));
    EXPECT_EQ(shown.content.fields[3].second, QStringLiteral("Nursing Store Room"));
    EXPECT_FALSE(shown.text.contains(QStringLiteral("withdrawal"), Qt::CaseInsensitive));
}

TEST_F(PaperTest, LotNumbersPrintWhereTheDocumentHasThem)
{
    const ShownReport withLots = printListed(QStringLiteral("1008"));
    EXPECT_EQ(column(withLots, QStringLiteral("Lot Number")),
              (QStringList {QStringLiteral("AL-2611"), QStringLiteral("DS-0926")}));
    EXPECT_TRUE(withLots.text.contains(QStringLiteral("DS-0926")));
    form.reset();
    shownReports.clear();
    const ShownReport without = printListed(QStringLiteral("1001"));
    EXPECT_FALSE(hasColumn(without, QStringLiteral("Lot Number")));
}

// Whatever a document holds, the paper shows all of it, whole, inside the page.
struct BadInputCase
{
    const char *name;
    QString remarks;
    QString quantity;
    QString cost;
    QString lot;
    int lines;
};

std::ostream &operator<<(std::ostream &out, const BadInputCase &c)
{
    return out << c.name;
}

class BadInputTest : public PaperTest, public ::testing::WithParamInterface<BadInputCase>
{
};

TEST_P(BadInputTest, NothingBreaksOrGoesMissing)
{
    const BadInputCase &c = GetParam();
    std::vector<std::tuple<QString, QString, QString>> lines;
    const char *items[] = {"1019", "1024", "1039", "1011", "1017"};
    for (int i = 0; i < c.lines; ++i)
        lines.emplace_back(QLatin1String(items[i % 5]), c.quantity, c.cost);
    addRequest(QStringLiteral("7001"), lines, c.remarks, c.lot);
    // A description as long as the column allows, without a blank to break at.
    sql(QStringLiteral("UPDATE INVENTORY..tbInvMaster SET ItemDesc = '%1' WHERE ItemID = '1039'")
            .arg(QString(90, QLatin1Char('W'))));

    const ShownReport shown = printListed(QStringLiteral("7001"));
    EXPECT_TRUE(shown.faults.isEmpty()) << shown.faults.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(static_cast<int>(shown.content.rows.size()), c.lines);
    // The remark is printed whole (blanks and line breaks aside), in the left-hand fields.
    QString remark = c.remarks;
    remark.remove(QRegularExpression(QStringLiteral("[\\s\\x00-\\x1f]")));
    double right = 0;
    for (const report::PrintItem &item : shown.printed.pages.at(0).items)
        right = std::max(right, item.rect.right());
    QString printed;
    for (const report::PrintedPage &page : shown.printed.pages)
        for (const report::PrintItem &item : page.items)
            if (item.kind == report::PrintItem::Kind::FieldValue && item.rect.left() < right / 2)
                printed += item.text;
    printed.remove(QRegularExpression(QStringLiteral("\\s")));
    EXPECT_TRUE(printed.contains(remark)) << printed.toStdString();
    // Numbers keep every digit.
    for (const QString &quantity : column(shown, QStringLiteral("Quantity")))
        EXPECT_EQ(quantity, column(shown, QStringLiteral("Quantity")).constFirst());
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, BadInputTest,
    ::testing::Values(
        BadInputCase {"LongRemark", QStringLiteral("Urgent: ").repeated(60).left(480),
                      QStringLiteral("3"), QStringLiteral("4.5"), QString(), 3},
        BadInputCase {"HugeNumbers", QStringLiteral("Year-end stock"),
                      QStringLiteral("999999999999"), QStringLiteral("922337203685477.5807"),
                      QStringLiteral("LOT-0000000000000000000000000000000000000001"), 4},
        BadInputCase {
            "OddCharacters",
            QStringLiteral("Ward <b>&amp;</b> 'quoted'\ttab\r\nnew line \u00e9\u00f1 \u2603 "
                           "\U0001F600 end"),
            QStringLiteral("1.5"), QStringLiteral("0.0001"), QStringLiteral("Ä/1\"2"), 2},
        BadInputCase {"ManyLinesOverPages", QStringLiteral("Many lines"), QStringLiteral("12"),
                      QStringLiteral("1234.5"), QString(), 120}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PaperTest, HeadingsRepeatOnEveryPageAndThePreviewPages)
{
    std::vector<std::tuple<QString, QString, QString>> lines(
        90, {QStringLiteral("1019"), QStringLiteral("10"), QStringLiteral("4.5")});
    addRequest(QStringLiteral("7002"), lines, QStringLiteral("Big order"));
    open();
    selectListed(QStringLiteral("7002"));
    int pages = 0;
    int pageAfterLast = 0;
    bool landscapeWider = false;
    QStringList dialogs;
    expectViewer([&](QDialog &dialog) {
        auto &viewer = static_cast<frmReportViewer &>(dialog);
        pages = viewer.pageCount();
        viewer.cmdLastPage->click();
        pageAfterLast = viewer.CRViewer1->currentPage();
        EXPECT_EQ(viewer.txtPage->value(), pageAfterLast);
        const double portraitWidth = viewer.pageArea().width();
        viewer.cmdLandscape->click();
        landscapeWider = viewer.pageArea().width() > portraitWidth
            && viewer.CRViewer1->orientation() == QPageLayout::Landscape;
        EXPECT_TRUE(testing_support::layoutFaults(viewer.content(), viewer.pages(),
                                                  viewer.pageArea(), &viewer.printer())
                        .isEmpty());
        // Page set-up and export go through the modal seam.
        modal.expect([&](QDialog &setup) {
            dialogs << setup.objectName();
            setup.reject();
        });
        viewer.cmdPageSetup->click();
        modal.expect([&](QDialog &save) {
            dialogs << save.objectName();
            auto &files = static_cast<QFileDialog &>(save);
            // The name box takes a chosen file only while it has no focus.
            if (QWidget *focused = files.focusWidget())
                focused->clearFocus();
            files.selectFile(tempPath() + QStringLiteral("/exported.pdf"));
            static_cast<QDialog &>(files).accept();
        });
        viewer.cmdSavePdf->click();
    });
    child<QPushButton>("cmdView")->click();

    ASSERT_EQ(shownReports.size(), 1u);
    const ShownReport &shown = shownReports[0];
    EXPECT_TRUE(shown.faults.isEmpty()) << shown.faults.join(QLatin1Char('\n')).toStdString();
    ASSERT_GE(shown.printed.pages.size(), 2u);
    EXPECT_EQ(pages, static_cast<int>(shown.printed.pages.size()));
    EXPECT_EQ(pageAfterLast, pages);
    EXPECT_TRUE(landscapeWider);
    EXPECT_EQ(dialogs,
              (QStringList {QStringLiteral("dlgPageSetup"), QStringLiteral("dlgSavePdf")}));
    EXPECT_TRUE(QFileInfo(tempPath() + QStringLiteral("/exported.pdf")).size() > 0);
    EXPECT_TRUE(shown.text.contains(QStringLiteral("Page 2 of")));
}

TEST_F(PaperTest, IssuedRequestsPrintOnLandscapePaper)
{
    open();
    modal.expect([&](QDialog &dialog) {
        dialog.findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
    });
    expectViewer();
    child<QAction>("mnuIssuedReports")->trigger();
    ASSERT_EQ(shownReports.size(), 1u);
    EXPECT_EQ(shownReports[0].orientation, QPageLayout::Landscape);
    EXPECT_TRUE(shownReports[0].faults.isEmpty())
        << shownReports[0].faults.join(QLatin1Char('\n')).toStdString();
}

// The sizing on its own: numbers fit whole however many columns share the page; the type
// shrinks rather than split them; text columns wrap.
TEST(ColumnSizing, NumbersStayWholeAndTextWraps)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const QRect paint = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRectF area(0, 0, paint.width(), paint.height());
    for (const int numberColumns : {3, 8, 16}) {
        report::ReportContent content;
        content.columns.push_back({QStringLiteral("Description"), Qt::AlignLeft, true});
        for (int c = 0; c < numberColumns; ++c)
            content.columns.push_back({QStringLiteral("Quantity"), Qt::AlignRight, false});
        for (int r = 0; r < 5; ++r) {
            QStringList row {QStringLiteral("A rather long description of a stock item that "
                                            "must wrap inside its column")};
            for (int c = 0; c < numberColumns; ++c)
                row << QStringLiteral("123,456,789.0000");
            content.rows.push_back(row);
        }
        const report::PrintedReport printed = report::layOut(content, area, &printer);
        const QStringList faults = testing_support::layoutFaults(content, printed, area, &printer);
        EXPECT_TRUE(faults.isEmpty())
            << numberColumns << ": " << faults.join(QLatin1Char('\n')).toStdString();
        // Few columns keep the type's size; many shrink it rather than split a number.
        if (numberColumns == 3)
            EXPECT_EQ(printed.scale, 1.0);
        if (numberColumns == 16)
            EXPECT_LT(printed.scale, 1.0);
    }
}

} // namespace
