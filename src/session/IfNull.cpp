#include "session/Inventory.h"

QVariant IfNull(const QVariant &value, const QVariant &replacement)
{
    return value.isNull() ? replacement : value;
}
