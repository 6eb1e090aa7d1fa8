#pragma once

#include "platform/report/Layout.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <stdexcept>
#include <vector>

namespace db {
class Connection;
class Recordset;
} // namespace db

// Our report engine: a template (".rpt", JSON text) names the tables it reads, its parameter
// fields and the query that reads its rows, and lays the rows out as a printable document.
//
// A template's members:
//   "report"      its name, for people reading the file
//   "title"       the title property (the program puts the hospital's name there)
//   "tables"      [{"name": "Request", "location": "INVENTORY.dbo.tbInvWithdrawRequest"}, ...]
//   "parameters"  [{"name": "{?@DocumentNumber}", "type": "text|number|date", "value": ""}, ...]
//                 in the order the program hands its values; "value" is the template's own
//   "query"       T-SQL; {Request} stands for the table's location, {?@DocumentNumber} for the
//                 parameter's value (quoted unless a number)
//   "header"      lines centred at the top, the first in large type
//   "fields"      [["Caption:", "text"], ...] printed two to a line under the header
//   "columns"     [{"caption", "field", "align", "format", "wrap"}, ...] one line per row;
//                 only columns with "wrap": true (descriptions, names) break into lines, and
//                 every column is as wide as its content and the page allow
//   "orientation" "portrait" (the default) or "landscape"
//   "totals"      [{"caption", "field", "format"}, ...] sums under the lines
//   "footer"      lines at the end; "empty" the text printed when there are no rows
//   "pageTitle"   the document's name at the foot of every page (else "report")
// In header, field and footer texts, {#Title} is the title, {?Name} a parameter's value and
// {Column} or {Column|format} a column of the first row; {Column|format|text} prints the text
// when the report has no rows or the column is empty.
namespace report {

// A template that cannot be opened or used; the text says why.
class ReportError : public std::runtime_error
{
public:
    explicit ReportError(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    { }
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// Where a table is read from, as the report was logged on.
struct LogOnInfo
{
    QString ServerName;
    QString DatabaseName;
    QString UserID;
    QString Password;
};

// One table of the report. Its location ("INVENTORY.dbo.tbInvWithdrawRequest") replaces the
// table's name written in braces in the query, so a new location moves the report's reading.
struct DatabaseTable
{
    QString Name;
    QString Location;
    LogOnInfo LogOn;
};

// How a parameter's value is placed in the query: text and dates between quotes, numbers bare.
enum class ValueKind { Text, Number, Date };

// A parameter field, named as the query and the layout write it ("{?@DocumentNumber}").
struct ParameterField
{
    QString Name;
    ValueKind Kind = ValueKind::Text;
    QString TemplateValue; // the value the template gives the field
    QStringList CurrentValues; // values added by the program

    void AddCurrentValue(const QString &value) { CurrentValues << value; }
    // The last value added, else the template's.
    QString value() const
    {
        return CurrentValues.isEmpty() ? TemplateValue : CurrentValues.constLast();
    }
};

// A column of the detail lines.
struct DetailColumn
{
    QString Caption;
    QString Field;
    QString Align; // "left", "right" or "center"
    QString Format; // digit pattern or date pattern (see formatValue)
    bool Wrap = false; // a text column that may break into lines
    bool HideWhenEmpty = false; // left off the page when no line has a value
};

// A sum printed under the detail lines.
struct Total
{
    QString Caption;
    QString Field;
    QString Format;
};

class Report final
{
public:
    // Opens a template file; a missing or unreadable file throws ReportError.
    static std::unique_ptr<Report> open(const QString &path);
    // Reads a template from its text (path only names it in messages).
    static std::unique_ptr<Report> fromText(const QByteArray &text, const QString &path);

    const QString &filePath() const { return m_path; }
    const QString &reportName() const { return m_name; }

    // The report's title property (the hospital's name on every form).
    QString ReportTitle;

    std::vector<DatabaseTable> &Tables() { return m_tables; }
    const std::vector<DatabaseTable> &Tables() const { return m_tables; }
    std::vector<ParameterField> &ParameterFields() { return m_parameters; }
    const std::vector<ParameterField> &ParameterFields() const { return m_parameters; }
    const ParameterField *parameterField(const QString &name) const;

    // The query with every table's location and every parameter's value in place; values
    // between quotes have their quotes doubled, numbers are written as numbers.
    QString statement() const;

    // Reads the rows through the connection and formats what the report prints.
    ReportContent read(db::Connection &connection) const;
    ReportContent content(const db::Recordset &rows) const;

    QPageLayout::Orientation orientation() const { return m_orientation; }

private:
    Report() = default;
    QString expand(const QString &text, const db::Recordset *firstRow) const;

    QString m_path;
    QString m_name;
    QString m_query;
    std::vector<DatabaseTable> m_tables;
    std::vector<ParameterField> m_parameters;
    QStringList m_header;
    std::vector<std::pair<QString, QString>> m_fields; // caption, text with placeholders
    std::vector<DetailColumn> m_columns;
    std::vector<Total> m_totals;
    QStringList m_footer;
    QString m_emptyText;
    QString m_pageTitle;
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
};

// The printed text of a laid-out report, line by line, page after page (for reading it back).
QString plainText(const PrintedReport &report);

// A value as the layout prints it: "mm/dd/yyyy" and "mm/dd/yyyy hh:mm AMPM" for dates, a digit
// pattern ("###,##0.0000") for numbers, else the value's plain text.
QString formatValue(const QVariant &value, const QString &pattern);

} // namespace report
