#include "platform/report/Report.h"

#include "platform/db/Connection.h"
#include "platform/format/Format.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextDocument>
#include <algorithm>

namespace report {

namespace {

ValueKind kindOf(const QString &text)
{
    const QString kind = text.toLower();
    if (kind == QLatin1String("number"))
        return ValueKind::Number;
    if (kind == QLatin1String("date"))
        return ValueKind::Date;
    return ValueKind::Text;
}

QStringList stringList(const QJsonValue &value)
{
    QStringList list;
    for (const QJsonValue &item : value.toArray())
        list << item.toString();
    return list;
}

// Calls replace(token) for every "{token}" of the text and joins the answers with the text
// around them; a brace without its partner is kept as written.
template<class Replace>
QString substitute(const QString &text, Replace &&replace)
{
    QString out;
    out.reserve(text.size());
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype open = text.indexOf(QLatin1Char('{'), pos);
        const qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char('}'), open + 1);
        if (open < 0 || close < 0) {
            out += text.mid(pos);
            break;
        }
        out += text.mid(pos, open - pos);
        out += replace(text.mid(open + 1, close - open - 1));
        pos = close + 1;
    }
    return out;
}

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QString alignOf(const QString &align)
{
    const QString a = align.toLower();
    if (a == QLatin1String("right") || a == QLatin1String("center"))
        return a;
    return QStringLiteral("left");
}

} // namespace

QString formatValue(const QVariant &value, const QString &pattern)
{
    if (value.isNull())
        return QString();
    if (pattern.isEmpty())
        return format::variantText(value);
    const QString lower = pattern.toLower();
    if (lower.startsWith(QLatin1String("mm/dd/yyyy"))) {
        QDateTime when = value.toDateTime();
        if (value.typeId() == QMetaType::QString)
            when = format::parseDateTime(value.toString());
        if (!when.isValid())
            return format::variantText(value);
        return lower == QLatin1String("mm/dd/yyyy") ? format::dateText(when.date())
                                                    : format::dateTimeText(when);
    }
    const double number = value.typeId() == QMetaType::QString
        ? format::leadingNumber(value.toString())
        : value.toDouble();
    return format::formatNumber(number, pattern);
}

std::unique_ptr<Report> Report::open(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        throw ReportError(QStringLiteral("File not found."));
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError(QStringLiteral("The report file could not be opened: ")
                          + file.errorString());
    return fromText(file.readAll(), path);
}

std::unique_ptr<Report> Report::fromText(const QByteArray &text, const QString &path)
{
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        throw ReportError(QStringLiteral("Invalid report file: ") + error.errorString());
    const QJsonObject root = document.object();

    std::unique_ptr<Report> report(new Report);
    report->m_path = path;
    report->m_name = root.value(QStringLiteral("report")).toString();
    report->ReportTitle = root.value(QStringLiteral("title")).toString();
    report->m_query = root.value(QStringLiteral("query")).toString();
    if (report->m_query.trimmed().isEmpty())
        throw ReportError(QStringLiteral("Invalid report file: the report reads no rows."));

    for (const QJsonValue &v : root.value(QStringLiteral("tables")).toArray()) {
        const QJsonObject t = v.toObject();
        DatabaseTable table;
        table.Name = t.value(QStringLiteral("name")).toString();
        table.Location = t.value(QStringLiteral("location")).toString();
        report->m_tables.push_back(table);
    }
    for (const QJsonValue &v : root.value(QStringLiteral("parameters")).toArray()) {
        const QJsonObject p = v.toObject();
        ParameterField field;
        field.Name = p.value(QStringLiteral("name")).toString();
        field.Kind = kindOf(p.value(QStringLiteral("type")).toString());
        field.TemplateValue = p.value(QStringLiteral("value")).toString();
        report->m_parameters.push_back(field);
    }
    report->m_header = stringList(root.value(QStringLiteral("header")));
    for (const QJsonValue &v : root.value(QStringLiteral("fields")).toArray()) {
        const QJsonArray pair = v.toArray();
        report->m_fields.emplace_back(pair.at(0).toString(), pair.at(1).toString());
    }
    for (const QJsonValue &v : root.value(QStringLiteral("columns")).toArray()) {
        const QJsonObject c = v.toObject();
        DetailColumn column;
        column.Caption = c.value(QStringLiteral("caption")).toString();
        column.Field = c.value(QStringLiteral("field")).toString();
        column.Width = c.value(QStringLiteral("width")).toInt(10);
        column.Align = c.value(QStringLiteral("align")).toString();
        column.Format = c.value(QStringLiteral("format")).toString();
        report->m_columns.push_back(column);
    }
    for (const QJsonValue &v : root.value(QStringLiteral("totals")).toArray()) {
        const QJsonObject t = v.toObject();
        report->m_totals.push_back({t.value(QStringLiteral("caption")).toString(),
                                    t.value(QStringLiteral("field")).toString(),
                                    t.value(QStringLiteral("format")).toString()});
    }
    report->m_footer = stringList(root.value(QStringLiteral("footer")));
    report->m_emptyText = root.value(QStringLiteral("empty")).toString();
    return report;
}

const ParameterField *Report::parameterField(const QString &name) const
{
    for (const ParameterField &field : m_parameters)
        if (field.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &field;
    return nullptr;
}

QString Report::statement() const
{
    return substitute(m_query, [this](const QString &token) -> QString {
        if (token.startsWith(QLatin1Char('?'))) {
            const ParameterField *field
                = parameterField(QLatin1Char('{') + token + QLatin1Char('}'));
            if (!field)
                throw ReportError(QStringLiteral("Unknown parameter field {%1}.").arg(token));
            if (field->Kind == ValueKind::Number)
                return format::numberText(format::leadingNumber(field->value()));
            return db::quote(field->value());
        }
        for (const DatabaseTable &table : m_tables)
            if (table.Name.compare(token, Qt::CaseInsensitive) == 0)
                return table.Location;
        throw ReportError(QStringLiteral("Unknown table {%1}.").arg(token));
    });
}

QString Report::expand(const QString &text, const db::Recordset *firstRow) const
{
    return substitute(text, [this, firstRow](const QString &token) -> QString {
        if (token.compare(QLatin1String("#Title"), Qt::CaseInsensitive) == 0)
            return ReportTitle;
        if (token.startsWith(QLatin1Char('?'))) {
            const ParameterField *field
                = parameterField(QLatin1Char('{') + token + QLatin1Char('}'));
            if (!field)
                throw ReportError(QStringLiteral("Unknown parameter field {%1}.").arg(token));
            return field->value();
        }
        const qsizetype bar = token.indexOf(QLatin1Char('|'));
        const QString name = bar < 0 ? token : token.left(bar);
        const QString pattern = bar < 0 ? QString() : token.mid(bar + 1);
        if (!firstRow || firstRow->eof())
            return QString();
        if (!firstRow->hasField(name))
            throw ReportError(QStringLiteral("Unknown field {%1}.").arg(name));
        return formatValue(firstRow->field(name), pattern);
    });
}

QString Report::layout(const db::Recordset &rows) const
{
    const db::Recordset *first = rows.recordCount() > 0 ? &rows : nullptr;
    QString html = QStringLiteral("<html><body style=\"font-family: sans-serif; font-size: "
                                  "9pt;\">");

    html += QStringLiteral("<p align=\"center\">");
    for (int i = 0; i < m_header.size(); ++i) {
        const QString line = escaped(expand(m_header.at(i), first));
        if (i > 0)
            html += QStringLiteral("<br/>");
        html += i == 0 ? QStringLiteral("<span style=\"font-size: 14pt; font-weight: bold;\">")
                + line + QStringLiteral("</span>")
                       : line;
    }
    html += QStringLiteral("</p>");

    if (!m_fields.empty()) {
        html += QStringLiteral("<table width=\"100%\" cellpadding=\"2\">");
        for (size_t i = 0; i < m_fields.size(); i += 2) {
            html += QStringLiteral("<tr>");
            for (size_t j = i; j < i + 2; ++j) {
                if (j >= m_fields.size()) {
                    html += QStringLiteral("<td></td><td></td>");
                    continue;
                }
                html += QStringLiteral("<td><b>") + escaped(m_fields[j].first)
                    + QStringLiteral("</b></td><td>") + escaped(expand(m_fields[j].second, first))
                    + QStringLiteral("</td>");
            }
            html += QStringLiteral("</tr>");
        }
        html += QStringLiteral("</table><br/>");
    }

    int totalWidth = 0;
    for (const DetailColumn &column : m_columns)
        totalWidth += std::max(column.Width, 1);
    html += QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" "
                           "cellpadding=\"3\" style=\"border-collapse: collapse;\"><tr>");
    for (const DetailColumn &column : m_columns)
        html += QStringLiteral("<th width=\"%1%\" align=\"%2\">")
                    .arg(std::max(column.Width, 1) * 100 / std::max(totalWidth, 1))
                    .arg(alignOf(column.Align))
            + escaped(column.Caption) + QStringLiteral("</th>");
    html += QStringLiteral("</tr>");

    for (const DetailColumn &column : m_columns)
        if (!rows.hasField(column.Field))
            throw ReportError(QStringLiteral("Unknown field {%1}.").arg(column.Field));
    std::vector<format::Currency> sums(m_totals.size());
    for (int r = 0; r < rows.recordCount(); ++r) {
        const db::Recordset::Row &row = rows.rows()[static_cast<size_t>(r)];
        html += QStringLiteral("<tr>");
        for (const DetailColumn &column : m_columns)
            html += QStringLiteral("<td align=\"%1\">").arg(alignOf(column.Align))
                + escaped(formatValue(row[static_cast<size_t>(rows.fieldIndex(column.Field))],
                                      column.Format))
                + QStringLiteral("</td>");
        html += QStringLiteral("</tr>");
        for (size_t t = 0; t < m_totals.size(); ++t) {
            const int index = rows.fieldIndex(m_totals[t].Field);
            if (index < 0)
                throw ReportError(QStringLiteral("Unknown field {%1}.").arg(m_totals[t].Field));
            sums[t] += format::Currency::fromDouble(row[static_cast<size_t>(index)].toDouble());
        }
    }
    if (rows.recordCount() == 0 && !m_emptyText.isEmpty())
        html += QStringLiteral("<tr><td colspan=\"%1\">").arg(m_columns.size())
            + escaped(m_emptyText) + QStringLiteral("</td></tr>");
    html += QStringLiteral("</table>");

    if (!m_totals.empty()) {
        html += QStringLiteral("<table width=\"100%\" cellpadding=\"3\">");
        for (size_t t = 0; t < m_totals.size(); ++t)
            html += QStringLiteral("<tr><td align=\"right\"><b>") + escaped(m_totals[t].Caption)
                + QStringLiteral("</b></td><td align=\"right\" width=\"20%\">")
                + escaped(formatValue(sums[t].toDouble(), m_totals[t].Format))
                + QStringLiteral("</td></tr>");
        html += QStringLiteral("</table>");
    }
    for (const QString &line : m_footer)
        html += QStringLiteral("<p>") + escaped(expand(line, first)) + QStringLiteral("</p>");
    html += QStringLiteral("</body></html>");
    return html;
}

QString Report::renderHtml(db::Connection &connection) const
{
    const db::Recordset rows = connection.query(statement());
    return layout(rows);
}

void Report::render(db::Connection &connection, QTextDocument &document) const
{
    document.setHtml(renderHtml(connection));
}

} // namespace report
