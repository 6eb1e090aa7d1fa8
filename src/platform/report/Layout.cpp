#include "platform/report/Layout.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRegularExpression>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <functional>

namespace report {

namespace {

enum FontIndex { TableBody, TableBold, TitleFont, SmallFont, TextFont, TextBold };

// Control characters would print as boxes or move the pen; line breaks are kept for the caller
// to honour or flatten.
QString cleaned(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch == QLatin1Char('\r')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                continue;
            out += QLatin1Char('\n');
        } else if (ch == QLatin1Char('\n')) {
            out += ch;
        } else if (ch.unicode() < 0x20 || ch.unicode() == 0x7f
                   || ch.category() == QChar::Other_Format) {
            out += QLatin1Char(' ');
        } else {
            out += ch;
        }
    }
    return out;
}

QString oneLine(const QString &text)
{
    QString line = cleaned(text);
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line.trimmed();
}

double longestWord(const QString &text, const QFontMetricsF &metrics)
{
    double widest = 0;
    for (const QString &word :
         cleaned(text).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        widest = std::max(widest, metrics.horizontalAdvance(word));
    return widest;
}

double widestLine(const QString &text, const QFontMetricsF &metrics)
{
    double widest = 0;
    for (const QString &line : cleaned(text).split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line.trimmed()));
    return widest;
}

std::vector<QFont> fontsFor(double scale)
{
    QFont base(QStringLiteral("Sans Serif"));
    base.setStyleHint(QFont::SansSerif);
    std::vector<QFont> fonts(6, base);
    fonts[TableBody].setPointSizeF(9 * scale);
    fonts[TableBold].setPointSizeF(9 * scale);
    fonts[TableBold].setBold(true);
    fonts[TitleFont].setPointSizeF(14);
    fonts[TitleFont].setBold(true);
    fonts[SmallFont].setPointSizeF(7);
    fonts[TextFont].setPointSizeF(9);
    fonts[TextBold].setPointSizeF(9);
    fonts[TextBold].setBold(true);
    return fonts;
}

// The pages being filled, top to bottom.
class PageWriter
{
public:
    PageWriter(PrintedReport &report, const QRectF &area, double bottom)
        : m_report(report)
        , m_area(area)
        , m_bottom(bottom)
    {
        newPage();
    }

    double y = 0;
    std::function<void()> onNewPage; // repeats the column headings inside the table

    void newPage()
    {
        m_report.pages.emplace_back();
        y = m_area.top();
        if (onNewPage)
            onNewPage();
    }
    // Starts a new page unless the height fits below the pen (a fresh page takes anything).
    void ensure(double height)
    {
        if (y + height > m_bottom && !atTop())
            newPage();
    }
    bool atTop() const { return m_report.pages.back().items.empty() || y <= m_pageStart; }
    void markPageStart() { m_pageStart = y; }
    double room() const { return m_bottom - y; }
    void add(PrintItem item) { m_report.pages.back().items.push_back(std::move(item)); }

private:
    PrintedReport &m_report;
    QRectF m_area;
    double m_bottom;
    double m_pageStart = -1;
};

} // namespace

QStringList wrapText(const QString &text, const QFont &font, double width, QPaintDevice *device,
                     bool wordsWhole)
{
    QStringList lines;
    QTextOption option;
    option.setWrapMode(wordsWhole ? QTextOption::WordWrap
                                  : QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (const QString &paragraph : cleaned(text).split(QLatin1Char('\n'))) {
        if (paragraph.trimmed().isEmpty()) {
            lines << QString();
            continue;
        }
        QTextLayout layout(paragraph, font, device);
        layout.setTextOption(option);
        layout.beginLayout();
        for (;;) {
            QTextLine line = layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(std::max(width, 1.0));
            lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
    }
    return lines;
}

PrintedReport layOut(const ReportContent &content, const QRectF &area, QPaintDevice *device)
{
    PrintedReport report;
    const double width = area.width();
    const int n = static_cast<int>(content.columns.size());

    std::vector<double> least(n), wanted(n), wholeWords(n);
    double pad = 0;
    // Columns that never wrap must fit whole: shrink the type until they do.
    for (int attempt = 0; attempt < 16; ++attempt) {
        report.fonts = fontsFor(report.scale);
        const QFontMetricsF body(report.fonts[TableBody], device);
        const QFontMetricsF bold(report.fonts[TableBold], device);
        pad = body.averageCharWidth() * 0.6;
        // Measured and laid-out widths differ by rounding; a little slack keeps a word whole.
        const double slack = body.averageCharWidth() * 0.15;
        double sumLeast = 0;
        for (int c = 0; c < n; ++c) {
            const ReportContent::Column &column = content.columns[c];
            const double headingWord = longestWord(column.caption, bold);
            double widest = 0;
            double word = 0;
            for (const QStringList &row : content.rows) {
                const QString text = c < row.size() ? row.at(c) : QString();
                widest = std::max(widest,
                                  column.wraps ? widestLine(text, body)
                                               : body.horizontalAdvance(oneLine(text)));
                if (column.wraps)
                    word = std::max(word, longestWord(text, body));
            }
            for (const ReportContent::Total &total : content.totals)
                if (total.column == c)
                    widest = std::max(widest, bold.horizontalAdvance(oneLine(total.value)));
            if (!column.wraps) {
                least[c] = std::max(widest, headingWord) + 2 * pad + slack;
                // With room, the heading stands on one line.
                wanted[c] = std::max(least[c],
                                     bold.horizontalAdvance(column.caption.simplified()) + 2 * pad
                                         + slack);
            } else {
                // A very long word may break inside a text column rather than crowd it out.
                const double cap = body.averageCharWidth() * 12;
                least[c] = std::max(headingWord, std::min(word, cap)) + 2 * pad + slack;
                wholeWords[c] = std::max(headingWord, word) + 2 * pad + slack;
                wanted[c]
                    = std::max({widest, bold.horizontalAdvance(column.caption), word}) + 2 * pad;
                wanted[c] = std::max(wanted[c], least[c]);
            }
            sumLeast += least[c];
        }
        if (sumLeast <= width || report.scale < 0.05)
            break;
        report.scale *= std::max(0.3, width / sumLeast * 0.98);
    }

    // Columns that never wrap take their whole headings when the page has room for that and
    // for the text columns' longest words; text columns share what is left, and with room to
    // spare every column widens.
    double fixedLeast = 0, fixedWanted = 0, wantedText = 0, leastText = 0;
    for (int c = 0; c < n; ++c) {
        if (content.columns[c].wraps) {
            wantedText += wanted[c];
            leastText += least[c];
        } else {
            fixedLeast += least[c];
            fixedWanted += wanted[c];
        }
    }
    // Where the page allows, no word of a text column breaks either.
    double wholeWordsText = 0;
    for (int c = 0; c < n; ++c)
        if (content.columns[c].wraps)
            wholeWordsText += wholeWords[c];
    if (fixedLeast + wholeWordsText <= width) {
        for (int c = 0; c < n; ++c)
            if (content.columns[c].wraps)
                least[c] = std::max(least[c], wholeWords[c]);
        leastText = wholeWordsText;
    }
    const bool wholeHeadings = fixedWanted + leastText <= width;
    const double fixedSum = wholeHeadings ? fixedWanted : fixedLeast;
    report.columnWidths.assign(n, 0);
    const double rest = width - fixedSum;
    for (int c = 0; c < n; ++c) {
        if (!content.columns[c].wraps)
            report.columnWidths[c] = wholeHeadings ? wanted[c] : least[c];
        else if (wantedText <= rest)
            report.columnWidths[c] = wanted[c] + (rest - wantedText) * wanted[c] / wantedText;
        else if (wantedText > leastText)
            report.columnWidths[c] = least[c]
                + std::max(0.0, rest - leastText) * (wanted[c] - least[c])
                    / (wantedText - leastText);
        else
            report.columnWidths[c] = least[c];
    }
    if (wantedText == 0 && n > 0 && fixedSum < width)
        for (double &w : report.columnWidths)
            w += (width - fixedSum) / n;
    std::vector<double> xs(n);
    double x = area.left();
    for (int c = 0; c < n; ++c) {
        xs[c] = x;
        x += report.columnWidths[c];
    }
    const double tableWidth = x - area.left();

    const QFontMetricsF body(report.fonts[TableBody], device);
    const QFontMetricsF bold(report.fonts[TableBold], device);
    const QFontMetricsF text(report.fonts[TextFont], device);
    const QFontMetricsF small(report.fonts[SmallFont], device);
    const double lh = body.lineSpacing();
    const double padV = lh * 0.2;
    const double footerHeight = small.lineSpacing() * 1.8;
    PageWriter pen(report, area, area.bottom() - footerHeight);

    auto line = [&](PrintItem::Kind kind, double left, double w, double height, const QString &s,
                    int font, Qt::Alignment align) {
        PrintItem item;
        item.kind = kind;
        item.rect = QRectF(left, pen.y, w, height);
        item.text = s;
        item.font = font;
        item.align = align;
        pen.add(std::move(item));
    };

    // The document's heading, the hospital's name first.
    for (int i = 0; i < content.header.size(); ++i) {
        const int font = i == 0                         ? TitleFont
            : (i == content.header.size() - 1 && i > 0) ? TextBold
                                                        : TextFont;
        const QFontMetricsF metrics(report.fonts[font], device);
        for (const QString &s : wrapText(content.header.at(i), report.fonts[font], width, device)) {
            pen.ensure(metrics.lineSpacing());
            line(PrintItem::Kind::Heading, area.left(), width, metrics.lineSpacing(), s, font,
                 Qt::AlignHCenter);
            pen.y += metrics.lineSpacing();
        }
    }
    if (!content.header.isEmpty())
        pen.y += text.lineSpacing() * 0.8;

    // The header fields, two to a line; a long value wraps in its half.
    if (!content.fields.empty()) {
        const QFontMetricsF boldText(report.fonts[TextBold], device);
        double captionWidth = 0;
        for (const auto &field : content.fields)
            captionWidth = std::max(captionWidth, boldText.horizontalAdvance(field.first));
        captionWidth = std::min(captionWidth + text.averageCharWidth(), width * 0.2);
        const double half = width / 2;
        const double valueWidth = half - captionWidth - text.averageCharWidth();
        for (size_t i = 0; i < content.fields.size(); i += 2) {
            std::vector<QStringList> values;
            for (size_t j = i; j < std::min(i + 2, content.fields.size()); ++j)
                values.push_back(
                    wrapText(content.fields[j].second, report.fonts[TextFont], valueWidth, device));
            qsizetype lines = 1;
            for (const QStringList &v : values)
                lines = std::max(lines, v.size());
            for (qsizetype k = 0; k < lines; ++k) {
                pen.ensure(text.lineSpacing());
                for (size_t j = 0; j < values.size(); ++j) {
                    const double left = area.left() + half * static_cast<double>(j);
                    if (k == 0)
                        line(PrintItem::Kind::FieldCaption, left, captionWidth, text.lineSpacing(),
                             content.fields[i + j].first, TextBold, Qt::AlignLeft);
                    if (k < values[j].size())
                        line(PrintItem::Kind::FieldValue, left + captionWidth, valueWidth,
                             text.lineSpacing(), values[j].at(k), TextFont, Qt::AlignLeft);
                }
                pen.y += text.lineSpacing();
            }
        }
        pen.y += text.lineSpacing() * 0.8;
    }

    // The column headings, at the top of the table and of every page it continues on.
    std::vector<QStringList> headings(n);
    qsizetype headingLines = 1;
    for (int c = 0; c < n; ++c) {
        headings[c] = wrapText(content.columns[c].caption, report.fonts[TableBold],
                               report.columnWidths[c] - 2 * pad, device, true);
        headingLines = std::max(headingLines, headings[c].size());
    }
    const double headingHeight = bold.lineSpacing() * static_cast<double>(headingLines) + 2 * padV;
    auto writeHeadings = [&] {
        for (int c = 0; c < n; ++c) {
            PrintItem frame;
            frame.kind = PrintItem::Kind::Frame;
            frame.rect = QRectF(xs[c], pen.y, report.columnWidths[c], headingHeight);
            frame.shaded = true;
            frame.column = c;
            pen.add(frame);
            for (qsizetype k = 0; k < headings[c].size(); ++k) {
                PrintItem item;
                item.kind = PrintItem::Kind::ColumnHeading;
                item.rect = QRectF(xs[c] + pad, pen.y + padV + bold.lineSpacing() * k,
                                   report.columnWidths[c] - 2 * pad, bold.lineSpacing());
                item.text = headings[c].at(k);
                item.font = TableBold;
                item.align = content.columns[c].align;
                item.column = c;
                pen.add(std::move(item));
            }
        }
        pen.y += headingHeight;
        pen.markPageStart();
    };

    if (n > 0) {
        pen.ensure(headingHeight + lh + 2 * padV);
        writeHeadings();
        pen.onNewPage = writeHeadings;
        for (int r = 0; r < static_cast<int>(content.rows.size()); ++r) {
            const QStringList &row = content.rows[r];
            std::vector<QStringList> cells(n);
            qsizetype lines = 1;
            for (int c = 0; c < n; ++c) {
                const QString value = c < row.size() ? row.at(c) : QString();
                cells[c] = content.columns[c].wraps
                    ? wrapText(value, report.fonts[TableBody], report.columnWidths[c] - 2 * pad,
                               device)
                    : QStringList {oneLine(value)};
                lines = std::max(lines, cells[c].size());
            }
            // A row moves whole to the next page when it fits there; a row taller than a page
            // continues line by line.
            qsizetype done = 0;
            while (done < lines) {
                const qsizetype remaining = lines - done;
                const auto fit = static_cast<qsizetype>(std::floor((pen.room() - 2 * padV) / lh));
                if (fit < remaining && !pen.atTop()) {
                    pen.newPage();
                    continue;
                }
                const qsizetype take = std::max<qsizetype>(1, std::min(fit, remaining));
                const double rowHeight = lh * static_cast<double>(take) + 2 * padV;
                for (int c = 0; c < n; ++c) {
                    PrintItem frame;
                    frame.kind = PrintItem::Kind::Frame;
                    frame.rect = QRectF(xs[c], pen.y, report.columnWidths[c], rowHeight);
                    frame.row = r;
                    frame.column = c;
                    pen.add(frame);
                    for (qsizetype k = done; k < std::min(done + take, cells[c].size()); ++k) {
                        PrintItem item;
                        item.kind = PrintItem::Kind::Cell;
                        item.rect = QRectF(xs[c] + pad, pen.y + padV + lh * (k - done),
                                           report.columnWidths[c] - 2 * pad, lh);
                        item.text = cells[c].at(k);
                        item.font = TableBody;
                        item.align = content.columns[c].align;
                        item.row = r;
                        item.column = c;
                        pen.add(std::move(item));
                    }
                }
                pen.y += rowHeight;
                done += take;
            }
        }
        if (content.rows.empty() && !content.emptyText.isEmpty()) {
            const QStringList lines = wrapText(content.emptyText, report.fonts[TableBody],
                                               tableWidth - 2 * pad, device);
            const double height = lh * static_cast<double>(lines.size()) + 2 * padV;
            pen.ensure(height);
            PrintItem frame;
            frame.kind = PrintItem::Kind::Frame;
            frame.rect = QRectF(area.left(), pen.y, tableWidth, height);
            pen.add(frame);
            for (qsizetype k = 0; k < lines.size(); ++k) {
                PrintItem item;
                item.kind = PrintItem::Kind::Empty;
                item.rect
                    = QRectF(area.left() + pad, pen.y + padV + lh * k, tableWidth - 2 * pad, lh);
                item.text = lines.at(k);
                item.font = TableBody;
                pen.add(std::move(item));
            }
            pen.y += height;
        }
        pen.onNewPage = nullptr;
    }

    // Totals under the columns they sum.
    if (!content.totals.empty())
        pen.y += padV;
    for (const ReportContent::Total &total : content.totals) {
        pen.ensure(lh + padV);
        const bool under = total.column >= 0 && total.column < n;
        const double valueLeft = under ? xs[total.column] + pad : area.left() + width * 0.75;
        const double valueWidth
            = under ? report.columnWidths[total.column] - 2 * pad : width * 0.25 - pad;
        line(PrintItem::Kind::Total, area.left(), valueLeft - area.left() - 2 * pad, lh,
             total.caption, TableBold, Qt::AlignRight);
        line(PrintItem::Kind::Total, valueLeft, valueWidth, lh, oneLine(total.value), TableBold,
             Qt::AlignRight);
        pen.y += lh + padV;
    }

    if (!content.footer.isEmpty())
        pen.y += text.lineSpacing();
    for (const QString &footer : content.footer) {
        for (const QString &s : wrapText(footer, report.fonts[TextFont], width, device)) {
            pen.ensure(text.lineSpacing());
            line(PrintItem::Kind::Footer, area.left(), width, text.lineSpacing(), s, TextFont,
                 Qt::AlignLeft);
            pen.y += text.lineSpacing();
        }
        pen.y += text.lineSpacing() * 0.6;
    }

    // The document's name and the page number at the foot of every page.
    const int pages = static_cast<int>(report.pages.size());
    for (int p = 0; p < pages; ++p) {
        PrintItem name;
        name.kind = PrintItem::Kind::PageFooter;
        name.rect = QRectF(area.left(), area.bottom() - small.lineSpacing(), width * 0.7,
                           small.lineSpacing());
        name.text = oneLine(content.title);
        name.font = SmallFont;
        PrintItem number = name;
        number.rect
            = QRectF(area.left() + width * 0.7, name.rect.top(), width * 0.3, small.lineSpacing());
        number.text = QStringLiteral("Page %1 of %2").arg(p + 1).arg(pages);
        number.align = Qt::AlignRight;
        report.pages[p].items.push_back(name);
        report.pages[p].items.push_back(number);
    }
    return report;
}

void paintPage(QPainter &painter, const PrintedReport &report, const PrintedPage &page)
{
    const double hairline = std::max(1.0, painter.device()->logicalDpiX() / 150.0);
    painter.setPen(QPen(Qt::black, hairline));
    for (const PrintItem &item : page.items) {
        if (item.kind == PrintItem::Kind::Frame) {
            if (item.shaded)
                painter.fillRect(item.rect, QColor(225, 225, 225));
            painter.drawRect(item.rect);
            continue;
        }
        painter.setFont(report.fonts[static_cast<size_t>(item.font)]);
        painter.drawText(item.rect,
                         static_cast<int>(item.align | Qt::AlignVCenter) | Qt::TextSingleLine,
                         item.text);
    }
}

PrintedReport print(const ReportContent &content, QPagedPaintDevice &printer)
{
    const QRect paint = printer.pageLayout().paintRectPixels(printer.logicalDpiX());
    const PrintedReport report
        = layOut(content, QRectF(0, 0, paint.width(), paint.height()), &printer);
    QPainter painter;
    if (!painter.begin(&printer))
        return report;
    for (size_t p = 0; p < report.pages.size(); ++p) {
        if (p > 0)
            printer.newPage();
        paintPage(painter, report, report.pages[p]);
    }
    painter.end();
    return report;
}

} // namespace report
