#include "capture/PBContentComparer.h"

#include "support/Logging.h"

using namespace Qt::StringLiterals;

bool PBContentComparer::pushAndCompareDataArray(const QList<PBContentPtr>& batch, qint64 copyMode)
{
    const QStringList firstTypes =
        batch.isEmpty() ? QStringList() : batch.constFirst()->pasteboardTypes();
    qCInfo(lcCapture).noquote() << "("_L1 + firstTypes.join(", "_L1) + ")"_L1;
    return copyMode == 0 ? pushCopy(batch) : pushCopyTwice(batch);
}

PBContentComparer::Match PBContentComparer::compareWithLast(const QList<PBContentPtr>& batch) const
{
    if (m_lastDataArray.isEmpty() || batch.isEmpty() || batch.size() != m_lastDataArray.size())
        return Match::CountDiffers;
    for (qsizetype i = 0; i < batch.size(); ++i) {
        if (!batch[i]->isEqualToContent(*m_lastDataArray[i]))
            return Match::ItemDiffers;
    }
    return Match::Equal;
}

bool PBContentComparer::pushCopyTwice(const QList<PBContentPtr>& batch)
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
    m_lastDataArray = batch;
    m_marked = false;
    return false;
}

bool PBContentComparer::pushCopy(const QList<PBContentPtr>& batch)
{
    if (m_marked && compareWithLast(batch) == Match::Equal)
        return false;
    m_lastDataArray = batch;
    m_marked = true;
    return true;
}
