#include "shell/Dialogs.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {
Dialogs::Responder& responder()
{
    static Dialogs::Responder installed;
    return installed;
}
} // namespace

void Dialogs::alert(QWidget* parent, const QString& text, std::function<void()> done)
{
    const Request request{text, {QCoreApplication::translate("Dialogs", "OK")}, 0, 0};
    ask(parent, request, [done = std::move(done)](int) {
        if (done)
            done();
    });
}

void Dialogs::confirm(QWidget* parent, const QString& text, const QString& cancelTitle,
                      const QString& acceptTitle, std::function<void(bool accepted)> done)
{
    const Request request{text, {cancelTitle, acceptTitle}, 0, 0};
    ask(parent, request, [done = std::move(done)](int button) { done(button == 1); });
}

void Dialogs::setResponder(Responder responder)
{
    ::responder() = std::move(responder);
}

void Dialogs::ask(QWidget* parent, const Request& request, std::function<void(int button)> done)
{
    if (responder())
        done(responder()(request));
    else
        showBox(parent, request, std::move(done));
}

void Dialogs::showBox(QWidget* parent, const Request& request, std::function<void(int button)> done)
{
    auto* box = new QMessageBox(parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("messageBox"));
    box->setWindowTitle(QGuiApplication::applicationDisplayName());
    box->setText(request.text);
    QList<QAbstractButton*> buttons;
    for (const QString& title : request.buttons)
        buttons.append(box->addButton(title, QMessageBox::AcceptRole));
    box->setDefaultButton(qobject_cast<QPushButton*>(buttons.value(request.defaultButton)));
    box->setEscapeButton(buttons.value(request.escapeButton));
    // Closing the window counts as the escape button.
    QObject::connect(box, &QMessageBox::finished, box, [box, buttons, request, done] {
        const qsizetype pressed = buttons.indexOf(box->clickedButton());
        done(pressed >= 0 ? int(pressed) : request.escapeButton);
    });
    box->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    box->show();
}
