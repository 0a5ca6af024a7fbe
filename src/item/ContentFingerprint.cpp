#include "item/ContentFingerprint.h"

#include <QHashFunctions>
#include <array>

namespace {
// Two independently seeded 64-bit hashes: as fast as comparing the bytes, and a chance collision
// between two different copies of the same size is out of reach.
QByteArray hashOf(const QByteArray& payload)
{
    const std::array<quint64, 2> hashes = {
        quint64(qHashBits(payload.constData(), size_t(payload.size()), 0x5bd1e9955bd1e995)),
        quint64(qHashBits(payload.constData(), size_t(payload.size()), 0x9e3779b97f4a7c15))};
    return QByteArray(reinterpret_cast<const char*>(hashes.data()), sizeof hashes);
}
} // namespace

std::optional<ContentFingerprint> ContentFingerprint::of(PBContent& item)
{
    const auto& payloads = item.dataArray();
    const QStringList types = item.pasteboardTypes();
    if (types.isEmpty() || !payloads || payloads->isEmpty())
        return std::nullopt;
    ContentFingerprint fingerprint;
    fingerprint.m_type = item.type();
    fingerprint.m_firstType = types.first();
    const QByteArray& first = payloads->first();
    fingerprint.m_payloadSize = first.size();
    fingerprint.m_payload = first.size() > largestKeptPayload ? hashOf(first) : first;
    return fingerprint;
}
