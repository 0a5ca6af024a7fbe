#include "recording/PBContentComparer.h"

#include "support/Logging.h"

using namespace Qt::StringLiterals;

bool PBContentComparer::pushAndCompareDataArray(const QList<PBContentPtr>& batch, qint64 copyMode)
{
    const QStringList firstTypes =
        batch.isEmpty() ? QStringList() : batch.constFirst()->pasteboardTypes();
    qCInfo(lcCapture).noquote() << "("_L1 + firstTypes.join(", "_L1) + ")"_L1;
    Fingerprints fingerprints;
    fingerprints.reserve(batch.size());
    for (const PBContentPtr& item : batch)
        fingerprints.append(ContentFingerprint::of(*item));
    return copyMode == 0 ? pushCopy(std::move(fingerprints))
                         : pushCopyTwice(std::move(fingerprints));
}

PBContentComparer::Match PBContentComparer::compareWithLast(const Fingerprints& batch) const
{
    if (m_lastDataArray.isEmpty() || batch.isEmpty() || batch.size() != m_lastDataArray.size())
        return Match::CountDiffers;
    for (qsizetype i = 0; i < batch.size(); ++i) {
        // An item without a fingerprint equals nothing, not even an item without one.
        if (!batch[i] || batch[i] != m_lastDataArray[i])
            return Match::ItemDiffers;
    }
    return Match::Equal;
}

bool PBContentComparer::pushCopyTwice(Fingerprints&& batch)
{
    switch (compareWithLast(batch)) {
    case Match::CountDiffers:
        qCInfo(lcCapture) << "Not Equal 1";
        break;
    case Match::ItemDiffers:
        qCInfo(lcCapture) << "Not Equal 2";
        break;
    case Match::Equal:
        if (m_marked) {
            qCInfo(lcCapture) << "marked";
            return false;
        }
        qCInfo(lcCapture) << "Equal";
        m_marked = true;
        return true;
    }
    m_lastDataArray = std::move(batch);
    m_marked = false;
    return false;
}

bool PBContentComparer::pushCopy(Fingerprints&& batch)
{
    if (m_marked && compareWithLast(batch) == Match::Equal)
        return false;
    m_lastDataArray = std::move(batch);
    m_marked = true;
    return true;
}
