#pragma once

#include <QFont>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class QPaintDevice;

namespace report {

// What a report prints, read and formatted, before it is put on paper.
struct ReportContent
{
    struct Column
    {
        QString caption;
        Qt::Alignment align = Qt::AlignLeft;
        // Text columns (descriptions, names, remarks) wrap; numbers, dates and codes never do.
        bool wraps = false;
    };
    struct Total
    {
        QString caption;
        QString value;
        int column = -1; // the column it sums, printed under it; -1 when not a column
    };

    QStringList header; // the first line in large type
    std::vector<std::pair<QString, QString>> fields; // caption, value; two to a line
    std::vector<Column> columns;
    std::vector<QStringList> rows;
    QString emptyText;
    std::vector<Total> totals;
    QStringList footer;
    QString title; // the document's name, printed at the foot of every page
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

// One thing drawn on a page: a line of text in its box, or a cell frame.
struct PrintItem
{
    enum class Kind {
        Heading,
        FieldCaption,
        FieldValue,
        ColumnHeading,
        Cell,
        Empty,
        Total,
        Footer,
        PageFooter,
        Frame
    };
    Kind kind = Kind::Cell;
    QRectF rect;
    QString text;
    Qt::Alignment align = Qt::AlignLeft;
    int row = -1; // detail row, for cells
    int column = -1; // detail column, for cells and their headings
    int font = 0; // index into PrintedReport::fonts
    bool shaded = false; // frames of the column headings
};

struct PrintedPage
{
    std::vector<PrintItem> items;
};

// A report laid out for one paper size: the pages in device units of the paint device.
struct PrintedReport
{
    std::vector<PrintedPage> pages;
    std::vector<QFont> fonts; // body, bold, title, small
    std::vector<double> columnWidths;
    double scale = 1.0; // 1 at the body's own size; less when the columns had to shrink
};

// Lays the content out on pages of the given size. Column widths follow the content and the
// page: columns that never wrap get the width of their widest entry (the type shrinks when
// they alone would not fit), text columns share what is left and wrap within it; the column
// headings repeat at the top of every page.
PrintedReport layOut(const ReportContent &content, const QRectF &paintRect, QPaintDevice *device);
// Lays out for the printer's current page and paints every page.
PrintedReport print(const ReportContent &content, QPagedPaintDevice &printer);
void paintPage(QPainter &painter, const PrintedReport &report, const PrintedPage &page);

// The lines a text takes in the width with the font: breaks at blanks, and inside a word only
// when the word alone is wider than the width (never with wordsWhole); line breaks in the text
// are kept.
QStringList wrapText(const QString &text, const QFont &font, double width, QPaintDevice *device,
                     bool wordsWhole = false);

} // namespace report
