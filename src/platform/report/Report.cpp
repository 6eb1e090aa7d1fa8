#include "platform/report/Report.h"

#include "platform/db/Connection.h"
#include "platform/format/Format.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>

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

Qt::Alignment alignOf(const QString &align)
{
    const QString a = align.toLower();
    if (a == QLatin1String("right"))
        return Qt::AlignRight;
    if (a == QLatin1String("center"))
        return Qt::AlignHCenter;
    return Qt::AlignLeft;
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
        column.Wrap = c.value(QStringLiteral("wrap")).toBool(false);
        column.HideWhenEmpty = c.value(QStringLiteral("hideEmpty")).toBool(false);
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
    report->m_pageTitle = root.value(QStringLiteral("pageTitle")).toString();
    if (root.value(QStringLiteral("orientation"))
            .toString()
            .compare(QLatin1String("landscape"), Qt::CaseInsensitive)
        == 0)
        report->m_orientation = QPageLayout::Landscape;
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
        const QStringList parts = token.split(QLatin1Char('|'));
        const QString name = parts.at(0);
        const QString pattern = parts.value(1);
        const QString otherwise
            = parts.size() > 2 ? parts.mid(2).join(QLatin1Char('|')) : QString();
        if (!firstRow || firstRow->eof())
            return otherwise;
        if (!firstRow->hasField(name))
            throw ReportError(QStringLiteral("Unknown field {%1}.").arg(name));
        const QString value = formatValue(firstRow->field(name), pattern);
        return value.trimmed().isEmpty() ? otherwise : value;
    });
}

ReportContent Report::content(const db::Recordset &rows) const
{
    const db::Recordset *first = rows.recordCount() > 0 ? &rows : nullptr;
    ReportContent content;
    content.title = m_pageTitle.isEmpty() ? m_name : expand(m_pageTitle, first);
    content.orientation = m_orientation;
    content.emptyText = m_emptyText;
    for (const QString &line : m_header)
        content.header << expand(line, first);
    for (const auto &[caption, text] : m_fields)
        content.fields.emplace_back(expand(caption, first), expand(text, first));

    std::vector<int> indexes;
    for (const DetailColumn &column : m_columns) {
        const int index = rows.fieldIndex(column.Field);
        if (index < 0)
            throw ReportError(QStringLiteral("Unknown field {%1}.").arg(column.Field));
        indexes.push_back(index);
        content.columns.push_back({column.Caption, alignOf(column.Align), column.Wrap});
    }
    std::vector<int> sumIndexes;
    for (const Total &total : m_totals) {
        const int index = rows.fieldIndex(total.Field);
        if (index < 0)
            throw ReportError(QStringLiteral("Unknown field {%1}.").arg(total.Field));
        sumIndexes.push_back(index);
    }

    // Sums are kept exact to the fourth decimal; beyond the range of money they go on in
    // floating point rather than stop at the largest amount.
    std::vector<format::Currency> sums(m_totals.size());
    std::vector<double> roughSums(m_totals.size(), 0.0);
    for (const db::Recordset::Row &row : rows.rows()) {
        QStringList cells;
        for (size_t c = 0; c < m_columns.size(); ++c)
            cells << formatValue(row[static_cast<size_t>(indexes[c])], m_columns[c].Format);
        content.rows.push_back(cells);
        for (size_t t = 0; t < m_totals.size(); ++t) {
            const double value = row[static_cast<size_t>(sumIndexes[t])].toDouble();
            sums[t] += format::Currency::fromDouble(value);
            roughSums[t] += value;
        }
    }
    // A column that only some documents fill (lot numbers) is left off when no line has it.
    for (size_t c = m_columns.size(); c-- > 0;) {
        if (!m_columns[c].HideWhenEmpty)
            continue;
        const bool blank
            = std::all_of(content.rows.begin(), content.rows.end(), [c](const QStringList &row) {
                  return row.at(static_cast<qsizetype>(c)).trimmed().isEmpty();
              });
        if (!blank)
            continue;
        content.columns.erase(content.columns.begin() + static_cast<std::ptrdiff_t>(c));
        for (QStringList &row : content.rows)
            row.removeAt(static_cast<qsizetype>(c));
    }
    for (size_t t = 0; t < m_totals.size(); ++t) {
        int column = -1;
        for (size_t c = 0, shown = 0; c < m_columns.size(); ++c) {
            const bool kept = shown < content.columns.size()
                && content.columns[shown].caption == m_columns[c].Caption;
            if (kept && m_columns[c].Field.compare(m_totals[t].Field, Qt::CaseInsensitive) == 0)
                column = static_cast<int>(shown);
            if (kept)
                ++shown;
        }
        const double sum = std::abs(roughSums[t]) < 9.0e14 ? sums[t].toDouble() : roughSums[t];
        content.totals.push_back(
            {m_totals[t].Caption, formatValue(sum, m_totals[t].Format), column});
    }
    for (const QString &line : m_footer)
        content.footer << expand(line, first);
    return content;
}

ReportContent Report::read(db::Connection &connection) const
{
    const db::Recordset rows = connection.query(statement());
    return content(rows);
}

QString plainText(const PrintedReport &report)
{
    QStringList lines;
    for (const PrintedPage &page : report.pages) {
        // Items of one line share a top; read them left to right.
        std::vector<const PrintItem *> items;
        for (const PrintItem &item : page.items)
            if (item.kind != PrintItem::Kind::Frame)
                items.push_back(&item);
        std::stable_sort(items.begin(), items.end(), [](const PrintItem *a, const PrintItem *b) {
            if (std::abs(a->rect.top() - b->rect.top()) > 0.5)
                return a->rect.top() < b->rect.top();
            return a->rect.left() < b->rect.left();
        });
        QString current;
        double top = -1e9;
        for (const PrintItem *item : items) {
            if (std::abs(item->rect.top() - top) > 0.5) {
                if (top > -1e9)
                    lines << current;
                current.clear();
                top = item->rect.top();
            } else {
                current += QLatin1Char(' ');
            }
            current += item->text;
        }
        if (top > -1e9)
            lines << current;
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace report
