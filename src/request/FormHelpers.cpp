#include "request/FormHelpers.h"

#include "platform/format/Format.h"
#include "request/MainControls.h"
#include "request/RequestDocument.h"
#include "session/Session.h"

#include <QDateTimeEdit>

bool isSite(const char *code)
{
    return Session.ClientName == QLatin1String(code);
}

void setTransDate(QDateTimeEdit *picker, const QVariant &value)
{
    QDateTime when;
    if (value.typeId() == QMetaType::QDateTime)
        when = value.toDateTime();
    else if (value.typeId() == QMetaType::QDate)
        when = value.toDate().startOfDay();
    else
        when = format::parseDateTime(value.toString());
    if (when.isValid())
        picker->setDateTime(when);
}

QString trimBlanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

bool isTrueValue(const QVariant &value)
{
    if (value.isNull())
        return false;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        return format::isNumeric(text) && format::numericValue(text) != 0.0;
    }
    default:
        return value.toDouble() != 0.0;
    }
}

double numberValue(const QVariant &value)
{
    if (value.isNull())
        return 0.0;
    if (value.typeId() == QMetaType::QString)
        return format::leadingNumber(value.toString());
    return value.toDouble();
}

QString documentKind(const RequestDocument &document)
{
    if (!document.isRequest())
        return QStringLiteral("return");
    return document.isConsolidation() ? QStringLiteral("consolidation request")
                                      : QStringLiteral("withdrawal request");
}
