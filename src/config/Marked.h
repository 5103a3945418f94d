#pragma once

#include <QString>

// A value shown on an overview page. `changed` is set when the user changed the value on an
// editing page since the last decode (from the exchange or a file); the page draws it in red.
struct MarkedText
{
    QString text;
    bool changed = false;
    bool operator==(const MarkedText&) const = default;
};

// One cell of a matrix (assignment, call waiting): set or clear, and changed since the last decode.
struct MarkedFlag
{
    bool set = false;
    bool changed = false;
    bool operator==(const MarkedFlag&) const = default;
};
