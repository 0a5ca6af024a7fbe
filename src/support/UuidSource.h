#pragma once

#include <QString>

// Where new items take their uuid from, so tests can fix it.
class UuidSource
{
public:
    virtual ~UuidSource() = default;
    // A new uuid: upper-case hexadecimal in five groups, without braces.
    virtual QString createUuid() const = 0;

    // Random (version 4) uuids.
    static const UuidSource& random();
};
