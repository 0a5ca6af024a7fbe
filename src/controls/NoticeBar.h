#pragma once

#include <QFrame>

class QLabel;
class QPushButton;
class QToolButton;

// A band across a window that tells the user something once: a text, an optional button that
// acts on it, and a button that dismisses the band. Hidden until shown; dismissing hides it.
class NoticeBar : public QFrame
{
    Q_OBJECT

public:
    explicit NoticeBar(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    // The button that acts on the notice; hidden while its text is empty.
    void setActionText(const QString& text);
    QPushButton* actionButton() const { return m_actionButton; }

signals:
    void actionTriggered();
    void dismissed();

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void updateColors();

    QLabel* m_label;
    QPushButton* m_actionButton;
    QToolButton* m_closeButton;
};
