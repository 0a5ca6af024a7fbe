#include "support/UuidSource.h"

#include <QUuid>

namespace {
class RandomUuids : public UuidSource
{
public:
    QString createUuid() const override
    {
        return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    }
};
} // namespace

const UuidSource& UuidSource::random()
{
    static const RandomUuids uuids;
    return uuids;
}
