#pragma once

#include <QDateTime>

// The wall clock, for what the user reads (clock label, title line, dates).
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};
