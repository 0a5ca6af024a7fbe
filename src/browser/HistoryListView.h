#pragma once

#include <QListView>
#include <QPersistentModelIndex>
#include <optional>

class HistoryListModel;
class QToolButton;

// The list of history rows: one fixed row height, one selected row, and the row under the
// pointer carrying the mark and open buttons (two widgets for the whole list, moved to that
// row). Backspace and Delete ask for the current item's deletion; typing does not search.
class HistoryListView : public QListView
{
    Q_OBJECT

public:
    explicit HistoryListView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    // The row under the pointer, if any.
    QModelIndex hoveredIndex() const { return m_hovered; }
    // Where the row is now, with rows that just came or went laid out.
    QRect rowRect(const QModelIndex& index);
    QToolButton* bookmarkButton() const { return m_bookmarkButton; }
    QToolButton* openButton() const { return m_openButton; }
    void keyboardSearch(const QString&) override {}

signals:
    void deleteRequested();
    void markRequested(const QModelIndex& index);
    void openRequested(const QModelIndex& index);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;

private:
    QToolButton* makeButton(const QString& objectName);
    void pointerMoved(const QPoint& position);
    // Puts the buttons on the row now under the pointer, as that row now is.
    void followPointer();
    void updateButtonIcons();

    HistoryListModel* m_model = nullptr;
    QToolButton* m_bookmarkButton;
    QToolButton* m_openButton;
    QPersistentModelIndex m_hovered;
    std::optional<QPoint> m_pointer;
    // A mark taken off under the pointer stays hidden until the pointer leaves the row.
    bool m_markHeld = false;
};
