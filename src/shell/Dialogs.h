#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Every message box of the program goes through here. A box is modal (to its window when it has
// one, else to the application) but never waits in a nested event loop: the answer comes back
// through the completion, so the clipboard watcher keeps running while the box is up.
//
// Tests install a responder that answers instead of the user; no box is then shown.
class Dialogs
{
public:
    // What a box asks: its message and its buttons, in order; `defaultButton` and
    // `escapeButton` index into `buttons`.
    struct Request
    {
        QString text;
        QStringList buttons;
        int defaultButton = 0;
        int escapeButton = 0;
    };
    // Returns the index of the button pressed.
    using Responder = std::function<int(const Request& request)>;

    // A message with one "OK" button; `done` runs once it is dismissed.
    static void alert(QWidget* parent, const QString& text, std::function<void()> done = {});

    // A question with a cancel and an accept button, the cancel one first and default (Return
    // and Escape both cancel); `done` gets true when the accept button was pressed.
    static void confirm(QWidget* parent, const QString& text, const QString& cancelTitle,
                        const QString& acceptTitle, std::function<void(bool accepted)> done);

    // Answers every following box with the responder instead of showing it; an empty responder
    // shows boxes again.
    static void setResponder(Responder responder);

private:
    static void ask(QWidget* parent, const Request& request, std::function<void(int button)> done);
    static void showBox(QWidget* parent, const Request& request,
                        std::function<void(int button)> done);
};
