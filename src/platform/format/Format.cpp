#include "platform/format/Format.h"

namespace format {

QString variantText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    return value.toString();
}

} // namespace format
