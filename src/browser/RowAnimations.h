#pragma once

#include <QHash>
#include <QObject>
#include <QPersistentModelIndex>

class HistoryListView;
class QWidget;

// The copy confirmations playing in a list's rows. Rows are painted, not widgets, so each
// confirmation gets a transparent host over its row that moves with the row (rows come and go
// above it, the list scrolls) and goes when its animation has ended or its row has gone.
class RowAnimations : public QObject
{
    Q_OBJECT

public:
    // The view's model must be set.
    explicit RowAnimations(HistoryListView* view);

    // Plays the copy confirmation in the row, if the row is on screen.
    void startAnimation(const QModelIndex& index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeHosts();
    void remove(QWidget* host);

    HistoryListView* m_view;
    QHash<QWidget*, QPersistentModelIndex> m_hosts;
};
