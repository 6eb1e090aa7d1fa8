#pragma once

#include <QString>
#include <vector>

// One item chosen in a tick-list picker (annual plan items, previous transactions), handed back
// to the main form, which writes it as a request line. Every field is the grid cell's text.
struct clstemCollection
{
    QString ItemCode;
    QString ItemName;
    QString Supplier;
    QString Classification;
    QString ListCost;
    QString OnHand;
    QString Retail; // "Y" or "N"
    QString UOM;
    QString Quantity;
};

using ChosenItemList = std::vector<clstemCollection>;
