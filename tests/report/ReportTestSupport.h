#pragma once

#include "platform/report/Report.h"
#include "request/MainFormTest.h"
#include "session/Reports.h"
#include "session/frmReportViewer.h"

#include <QDialog>
#include <QFontMetricsF>
#include <QPrinter>
#include <QRegularExpression>
#include <map>

namespace testing_support {

// What a report viewer showed: its title, its template, its parameter values, its text, and
// what is wrong with its pages (empty when nothing).
struct ShownReport
{
    QString title;
    QString templateName;
    QStringList values;
    QString text;
    report::ReportContent content;
    report::PrintedReport printed;
    QStringList faults;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

// What a reader of the paper would call broken: a number, date or code split over lines or
// wider than its cell, text outside the paper, a line of the document missing or cut short, a
// page of lines without the column headings.
inline QStringList layoutFaults(const report::ReportContent &content,
                                const report::PrintedReport &printed, const QRectF &area,
                                QPaintDevice *device)
{
    QStringList faults;
    using Kind = report::PrintItem::Kind;
    const auto rows = static_cast<int>(content.rows.size());
    const auto columns = static_cast<int>(content.columns.size());
    std::vector<std::vector<QStringList>> printedCells(rows, std::vector<QStringList>(columns));
    for (size_t p = 0; p < printed.pages.size(); ++p) {
        bool cells = false;
        bool headings = false;
        std::map<int, QStringList> headingLines;
        for (const report::PrintItem &item : printed.pages[p].items) {
            if (item.rect.left() < area.left() - 0.5 || item.rect.right() > area.right() + 0.5
                || item.rect.top() < area.top() - 0.5 || item.rect.bottom() > area.bottom() + 0.5)
                faults << QStringLiteral("page %1: \"%2\" outside the paper")
                              .arg(p + 1)
                              .arg(item.text);
            if (item.kind == Kind::Frame)
                continue;
            const QFontMetricsF metrics(printed.fonts[static_cast<size_t>(item.font)], device);
            const bool mustFit = item.kind == Kind::Cell || item.kind == Kind::ColumnHeading
                || item.kind == Kind::Total;
            if (mustFit && metrics.horizontalAdvance(item.text) > item.rect.width() + 0.5)
                faults << QStringLiteral("page %1: \"%2\" wider than its cell")
                              .arg(p + 1)
                              .arg(item.text);
            if (item.kind == Kind::ColumnHeading) {
                headings = true;
                headingLines[item.column] << item.text;
            }
            if (item.kind == Kind::Cell) {
                cells = true;
                printedCells[static_cast<size_t>(item.row)][static_cast<size_t>(item.column)]
                    << item.text;
            }
        }
        if (cells && !headings)
            faults << QStringLiteral("page %1 has lines but no column headings").arg(p + 1);
        // A heading may take two lines, but never breaks a word.
        for (const auto &[c, lines] : headingLines)
            if (lines.join(QLatin1Char(' ')) != content.columns[c].caption.simplified())
                faults << QStringLiteral("page %1: heading \"%2\" printed as \"%3\"")
                              .arg(p + 1)
                              .arg(content.columns[c].caption, lines.join(QLatin1Char('|')));
    }
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const QString value = content.rows[r].value(c);
            const QStringList &lines = printedCells[r][c];
            if (!content.columns[c].wraps && lines.size() > 1)
                faults << QStringLiteral("\"%1\" split over %2 lines").arg(value).arg(lines.size());
            QString expected = value;
            QString got = lines.join(QString());
            expected.remove(blanks);
            got.remove(blanks);
            if (expected != got)
                faults << QStringLiteral("line %1, column %2: printed \"%3\" for \"%4\"")
                              .arg(r + 1)
                              .arg(c + 1)
                              .arg(lines.join(QLatin1Char('|')), value);
        }
    }
    return faults;
}

// The demo hospital with the templates of the source tree as the program's folder.
class ReportTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        setProgramFolder(QStringLiteral(SR_SOURCE_DIR "/reports"));
    }

    void TearDown() override
    {
        setProgramFolder(QString());
        MainFormTest::TearDown();
    }

    // The next report viewer is recorded into shownReports and closed.
    void expectViewer(const std::function<void(QDialog &)> &also = {})
    {
        modal.expect([this, also](QDialog &dialog) {
            ShownReport shown;
            shown.title = dialog.windowTitle();
            if (const report::Report *report = Session.Report) {
                shown.templateName = QFileInfo(report->filePath()).fileName();
                // The values the program handed over (fields it gave none keep the template's).
                for (const report::ParameterField &field : report->ParameterFields())
                    if (!field.CurrentValues.isEmpty())
                        shown.values << field.value();
            }
            if (auto *viewer = qobject_cast<frmReportViewer *>(&dialog)) {
                shown.text = viewer->text();
                shown.content = viewer->content();
                shown.printed = viewer->pages();
                shown.orientation = viewer->printer().pageLayout().orientation();
                shown.faults = layoutFaults(shown.content, shown.printed, viewer->pageArea(),
                                            &viewer->printer());
            }
            shownReports.push_back(shown);
            if (also)
                also(dialog);
            dialog.reject();
        });
    }

    std::vector<ShownReport> shownReports;
};

} // namespace testing_support
