#pragma once

#include "browser/CategoryListViewController.h"
#include "item/PBContent.h"

#include <QWidget>
#include <memory>

class PreviewViewController;
namespace Ui {
class CategoryViewController;
}

// What one tab of the main window shows: the history list of its category (or the search
// results), the preview of the current item, and two tool bars: the list's (sort, clear), shown
// while the list has items, and the current item's (copy, open, mark, delete), shown while there
// is one. The order is not stored; every page starts newest first.
class CategoryViewController : public QWidget
{
    Q_OBJECT

public:
    CategoryViewController(Category fetchCategory,
                           const CategoryListViewController::Services& services,
                           QWidget* parent = nullptr);
    ~CategoryViewController() override;

    Category fetchCategory() const;
    // Search page only: the text to search for.
    void setKeyword(const QString& keyword);
    QString keyword() const;

    PBContentPtr currentContent() const { return m_currentContent; }
    CategoryListViewController* listViewController() const { return m_listViewController; }
    // The preview pane, made on first use.
    PreviewViewController* previewVC();

    // The width of the list beside the preview: the divider's place.
    int listWidth() const;
    void setListWidth(int width);

    void onSortButton();
    // Asks first, naming how many items and what happens to them; "Clear" unmarks every item of
    // the Marked page, and deletes every item listed on any other page, marked ones included,
    // whatever the order.
    void onEmptyButton();
    void onCopyButton();
    void onOpenButton();
    void onBookmarkButton();
    void onDeleteButton();

protected:
    void showEvent(QShowEvent* event) override;

signals:
    // The user moved the divider between the list and the preview.
    void listWidthChanged(int width);

private:
    void setupButtons();
    void applyListWidth();
    void setCurrentContent(const PBContentPtr& item);
    void showMarked(bool marked);
    QString clearQuestion() const;
    void clearList();

    std::unique_ptr<Ui::CategoryViewController> m_ui;
    CategoryListViewController::Services m_services;
    CategoryListViewController* m_listViewController;
    PreviewViewController* m_previewVC = nullptr;
    PBContentPtr m_currentContent;
    int m_listWidth = 0;
};
