#pragma once

#include "capture/PBContent.h"

#include <QList>

// Decides for each clipboard change whether its batch of items is recorded, by the copy mode
// the caller passes with every batch (the setting as it stands at that copy):
// - "Copy" (0): every batch, except one equal to the batch recorded just before it;
// - "Copy twice" (any other value): a batch only on its second copy in a row.
// Both modes share the remembered batch and its flag, so switching modes between copies
// continues from the current state.
class PBContentComparer
{
public:
    // True when this batch (the items of one change, in pasteboard order; may be empty) is to be
    // recorded under the copy mode.
    bool pushAndCompareDataArray(const QList<PBContentPtr>& batch, qint64 copyMode);

    // The batch of the last change that was not a repeat. Holding it keeps its payloads alive.
    const QList<PBContentPtr>& lastDataArray() const { return m_lastDataArray; }
    // True when the remembered batch has been recorded.
    bool marked() const { return m_marked; }

private:
    enum class Match { CountDiffers, ItemDiffers, Equal };
    Match compareWithLast(const QList<PBContentPtr>& batch) const;
    bool pushCopyTwice(const QList<PBContentPtr>& batch);
    bool pushCopy(const QList<PBContentPtr>& batch);

    QList<PBContentPtr> m_lastDataArray;
    bool m_marked = false;
};
