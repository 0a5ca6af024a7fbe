#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// A web address as it shows before its page is loaded: the page's title when one is known, the
// address, a "Load Page" button where the preview can show pages, and an "Open in Browser" link.
// It fetches nothing itself: it only tells what the user asked for.
class WebAddressView : public QWidget
{
    Q_OBJECT

public:
    // `canLoadPages`: the preview can show a page in place (built with the browser engine).
    explicit WebAddressView(bool canLoadPages, QWidget* parent = nullptr);

    // Shows `address` as copied, under `title` (empty: none known). `loadable`: the address is one
    // that can be loaded or opened (http or https).
    void showAddress(const QString& address, const QString& title, bool loadable);

signals:
    void loadRequested();
    void openRequested();

private:
    QLabel* makeLabel(const QString& objectName, const QString& accessibleName);
    void setupTitle();
    void setupAddress();
    void setupActions(bool canLoadPages);

    QLabel* m_title = nullptr;
    QLabel* m_address = nullptr;
    QPushButton* m_loadButton = nullptr;
    QLabel* m_openLink = nullptr;
};
