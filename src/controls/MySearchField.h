#pragma once

#include <QLineEdit>
#include <functional>

class QAction;

// The windows' search field. A press in it first starts editing as usual, then runs the
// `becomeFirstResponderBlock`, so the window can react to the user reaching for the search.
class MySearchField : public QLineEdit
{
    Q_OBJECT

public:
    explicit MySearchField(QWidget* parent = nullptr);

    void setBecomeFirstResponderBlock(std::function<void()> block);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateIcons();

    std::function<void()> m_becomeFirstResponderBlock;
    QAction* m_searchIcon;
    // Shown while the field holds text; clears it as an edit of the user's.
    QAction* m_clearButton;
};
