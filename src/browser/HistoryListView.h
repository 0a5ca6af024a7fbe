#pragma once

#include <QListView>
#include <QPersistentModelIndex>
#include <optional>

class HistoryListModel;
class TemplateButton;

// The list of history rows: one fixed row height, one selected row, and the row under the
// pointer carrying the mark and open buttons (two widgets for the whole list, moved to that
// row) while the window is the active one. Backspace and Delete ask for the current item's
// deletion; typing does not search.
//
// Only the user chooses a row: rowChosen comes from a press, a drag or a key that moved the
// selection, never from a change the program makes. When the selected row is removed nothing is
// selected in its place (a list view would otherwise select its neighbour).
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
    TemplateButton* bookmarkButton() const { return m_bookmarkButton; }
    TemplateButton* openButton() const { return m_openButton; }
    void keyboardSearch(const QString&) override {}

signals:
    // The user moved the selection to this row.
    void rowChosen(const QModelIndex& index);
    void deleteRequested();
    void markRequested(const QModelIndex& index);
    void openRequested(const QModelIndex& index);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void reset() override;

private:
    // Runs the base class's handling of a user's event and tells whether it chose another row.
    template <class Handling> auto asUserChoice(Handling&& handling);
    QModelIndex selectedIndex() const;
    TemplateButton* makeButton(const QString& objectName);
    void pointerMoved(const QPoint& position);
    // Puts the buttons on the row now under the pointer, as that row now is.
    void followPointer();

    HistoryListModel* m_model = nullptr;
    TemplateButton* m_bookmarkButton;
    TemplateButton* m_openButton;
    QPersistentModelIndex m_hovered;
    std::optional<QPoint> m_pointer;
    // A mark taken off under the pointer stays hidden until the pointer leaves the row.
    bool m_markHeld = false;
    // The most rows the list was laid out for since its layout was last made anew.
    int m_mostRows = 0;
};
