#pragma once

#include "item/ContentFingerprint.h"
#include "item/PBContent.h"

#include <QList>
#include <optional>

// Decides for each clipboard change whether its batch of items is recorded, by the copy mode
// the caller passes with every batch (the setting as it stands at that copy):
// - "Copy" (0): every batch, except one equal to the batch recorded just before it;
// - "Copy twice" (any other value): a batch only on its second copy in a row.
// Both modes share the remembered batch and its flag, so switching modes between copies
// continues from the current state.
//
// The remembered batch is kept as the items' fingerprints, not the items: the items go on into the
// history, and a huge copy is not held in memory once it is stored. The comparer is used by one
// thread at a time.
class PBContentComparer
{
public:
    // True when this batch (the items of one change, in pasteboard order; may be empty) is to be
    // recorded under the copy mode.
    bool pushAndCompareDataArray(const QList<PBContentPtr>& batch, qint64 copyMode);

    // True when the remembered batch has been recorded.
    bool marked() const { return m_marked; }

private:
    enum class Match { CountDiffers, ItemDiffers, Equal };
    using Fingerprints = QList<std::optional<ContentFingerprint>>;
    Match compareWithLast(const Fingerprints& batch) const;
    bool pushCopyTwice(Fingerprints&& batch);
    bool pushCopy(Fingerprints&& batch);

    Fingerprints m_lastDataArray;
    bool m_marked = false;
};
