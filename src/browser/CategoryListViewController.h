#pragma once

#include "item/PBContent.h"
#include "shell/PasteToApplication.h"
#include "storage/Category.h"
#include "support/ObservableValue.h"

#include <QWidget>
#include <functional>

class DBManager;
class EmptyView;
class HistoryListModel;
class HistoryListView;
class PBWatcher;
class QStackedLayout;
class RowAnimations;
class RowArtworkCache;
class TimeUpdater;
class BooleanSetting;

// One history list, for every list of the program: a category (0 Recents, 1 Text, 2 File,
// 3 Image, 4 URL, 5 Marked), the search results (6), or an unknown number (a list that never
// fills). The user's choice of a row is the copy gesture: a click on a row, or a key that moves the
// selection, puts the item on the clipboard at once and the row plays the copy confirmation; the
// arrow keys so copy each item passed over; Backspace and Delete delete the current item.
// Enter or a double click on a row (Shift+Enter, or the row's menu, for its plain text alone)
// chooses the item: it is copied, and where the window's preference says so, the window closes
// and the item is pasted into the application the window was called from.
// Nothing the program does copies: items the store inserts, removes or marks come in row by row,
// a reload selects the same item again silently, and when the current row goes no row is
// selected and there is no current item.
class CategoryListViewController : public QWidget
{
    Q_OBJECT

public:
    // What the list works with; all must outlive it.
    struct Services
    {
        DBManager& dbManager;
        // Puts a chosen item back on the clipboard without recording it.
        PBWatcher& watcher;
        TimeUpdater& timeUpdater;
        RowArtworkCache& artwork;
        // Followed by the previews beside the lists; none: a web page loads only on request.
        const BooleanSetting* webPreview = nullptr;
        // Pastes a chosen item into the application the window was called from; none: choosing
        // only copies.
        PasteToApplication* paste = nullptr;
        // Followed by the rows: compact when set; none: comfortable rows.
        const BooleanSetting* compactRows = nullptr;
    };
    CategoryListViewController(Category fetchCategory, const Services& services,
                               QWidget* parent = nullptr);
    ~CategoryListViewController() override;

    Category fetchCategory() const;
    // The search text (search list only): each text runs a search; an empty one empties the list.
    void setKeyword(const QString& keyword);
    QString keyword() const;
    // Oldest first when true.
    void setAsc(bool asc);
    // Whether the list shows the oldest item first.
    bool asc() const;

    // Writes the current item to the clipboard as the program's own copy, never recorded, each
    // type with its own payload; a payload that cannot be read is left out with its type. When none
    // can be read the clipboard keeps what it holds and an alert says so. An item larger than a
    // preview's bound is written once a pool thread has read it. `written` runs once the clipboard
    // holds the item. False when nothing is or will be written.
    bool copyCurrentContent(const std::function<void()>& written = {});
    // Writes only the current item's plain text (Ctrl+Shift+V-style "without formatting"): a rich
    // text as its text, files as their paths; nothing for an image. The history does not change.
    // Read and written as above.
    bool copyCurrentContentAsPlainText(const std::function<void()>& written = {});
    // Which window's preference decides whether a chosen item is pasted; a mini window also
    // closes when an item is chosen. The main window's by default.
    void setPasteOrigin(PasteToApplication::Origin origin) { m_pasteOrigin = origin; }
    // The user chose the current item (Enter, a double click, the row's menu): it is copied
    // (its plain text alone when asked), and pasted where the preference says so.
    void chooseCurrentContent(bool plainText);
    void deleteCurrentContent();
    // Selects the row for the user, as their click would: the item is copied.
    void chooseRow(int row);
    // The item shown in a row, or nullptr for a row outside the list.
    PBContentPtr contentWithRow(int row) const;
    // The selected row's place in this widget, for anchoring a popup; null when no row is
    // selected or it is not on screen.
    QRect selectRowRect() const;

    // The selected row's item (nullptr when none), and whether the list has no rows.
    ObservableValue<PBContentPtr>& currentContent() { return m_currentContent; }
    ObservableValue<bool>& empty() { return m_empty; }

    // The list view that shows the rows.
    HistoryListView* tableView() const { return m_tableView; }
    // The rows the list shows, over the store's list or the search results.
    HistoryListModel* contents() const { return m_contents; }

private:
    void setupView();
    void connectModel();
    void selectionDidChange();
    void userChoseRow(const QModelIndex& index);
    void updateEmpty();
    void toggleMarked(const QModelIndex& index);
    void rememberSelection();
    void showRowMenu(const QPoint& position);
    void restoreSelection();
    bool copyReading(const PBContentPtr& item, std::function<PBContent::TypedPayloads()> reading,
                     const std::function<void()>& written);
    static qint64 payloadBytes(const PBContent& item);
    bool writeToClipboard(const PBContent& item, const PBContent::TypedPayloads& typed);

    Services m_services;
    HistoryListModel* m_contents;
    HistoryListView* m_tableView;
    EmptyView* m_emptyView;
    QStackedLayout* m_stack;
    RowAnimations* m_animations = nullptr;
    ObservableValue<PBContentPtr> m_currentContent;
    ObservableValue<bool> m_empty;
    QString m_selectedBeforeReset;
    PasteToApplication::Origin m_pasteOrigin = PasteToApplication::Origin::MainWindow;
    quint64 m_copyGeneration = 0;
};
