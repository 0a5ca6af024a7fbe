#pragma once

#include "browser/CategoryListViewController.h"

#include <QWidget>
#include <functional>
#include <memory>

class HighlightButton;
class MySearchField;
class PreviewPopover;
class PreviewViewController;
class QKeyEvent;
namespace Ui {
class MiniViewController;
}

// The mini window's content, for quick use from the keyboard: the whole history, or the search
// results while the field holds text. The field has the focus when the window comes up, holding
// the last search selected, and typing filters at once; Down moves into the list; Enter chooses
// the selected row, or in the field the first one (Shift+Enter: its plain text alone): the item
// is copied, the window closes and, where the preference says so, the item is pasted into the
// application the window was called from; Space (outside the field) previews the row in a popup;
// Escape closes the window.
class MiniViewController : public QWidget
{
    Q_OBJECT

public:
    static constexpr QSize popoverSize{600, 600};

    explicit MiniViewController(const CategoryListViewController::Services& services,
                                QWidget* parent = nullptr);
    ~MiniViewController() override;

    CategoryListViewController* allListViewController() const { return m_allList; }
    CategoryListViewController* searchListViewController() const { return m_searchList; }
    // The search results while there is search text, the whole history otherwise.
    CategoryListViewController* visibleList() const;
    MySearchField* searchField() const;
    HighlightButton* pinButton() const;
    // Whether the window is kept above the others.
    bool pin() const { return m_pin; }

    void searchFieldValueChanged();
    // Previews the visible list's current item, anchored to its row, or to this whole view when
    // the row is not on screen; nothing without a current item.
    void previewCurrentItem();
    // Toggles keeping the window above the others.
    void onPinWindow();
    // Closes the mini window and brings back the main window.
    void onResumeWindow();
    // What the return button does; none: nothing.
    void setResumeBlock(std::function<void()> block);

    // Made on first use.
    PreviewViewController* previewVC();
    PreviewPopover* popover();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void viewDidLoad();
    CategoryListViewController* addList(Category category, QWidget* container);
    bool listKeyPressed(const QKeyEvent& event);
    bool fieldKeyPressed(const QKeyEvent& event);
    void chooseTopResult(bool plainText);
    void selectLastSearch();
    void moveIntoList();
    void updatePinImage();
    void logResults() const;

    std::unique_ptr<Ui::MiniViewController> m_ui;
    CategoryListViewController::Services m_services;
    CategoryListViewController* m_allList = nullptr;
    CategoryListViewController* m_searchList = nullptr;
    PreviewViewController* m_previewVC = nullptr;
    PreviewPopover* m_popover = nullptr;
    std::function<void()> m_resumeBlock;
    bool m_pin = false;
    // The window was shown: the field selects its text when it gets the focus.
    bool m_selectSearchOnFocus = false;
};
