// textfield: a small application with one text field, the target the paste tests type into, as
// a user's editor or terminal would be.
//
//   textfield [--class CLASS] [--title TITLE]
//
// The window's WM_CLASS class (and Wayland app id) is CLASS (default "Textfield"), its title TITLE
// (default "textfield"). It prints "ready" once its window is shown and active, "key COMBINATION"
// for each Ctrl combination typed into it ("key ctrl+v", "key ctrl+shift+v"), and "text JSON"
// with the field's whole text, as a JSON string, each time it changes, "active" and "inactive"
// as the application gains and loses the keyboard focus. Ctrl+V and Ctrl+Shift+V
// both paste the clipboard's plain text, as a terminal does with the latter.
#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTimer>
#include <cstdio>

namespace {
void printLine(const QByteArray& line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QString option(const QStringList& arguments, const QString& name, const QString& fallback)
{
    const qsizetype at = arguments.indexOf(name);
    return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1) : fallback;
}

class Field : public QPlainTextEdit
{
protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
        if (event->modifiers().testFlag(Qt::ControlModifier) && event->key() == Qt::Key_V) {
            printLine(shift ? "key ctrl+shift+v" : "key ctrl+v");
            if (shift) {
                paste();
                return;
            }
        }
        QPlainTextEdit::keyPressEvent(event);
    }
};
} // namespace

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCoreApplication::setApplicationName(
        option(arguments, QStringLiteral("--class"), QStringLiteral("Textfield")));
    QApplication app(argc, argv);
    Field field;
    field.setWindowTitle(option(arguments, QStringLiteral("--title"), QStringLiteral("textfield")));
    field.resize(320, 120);
    QObject::connect(&field, &QPlainTextEdit::textChanged, &field, [&field] {
        const QByteArray json =
            QJsonDocument(QJsonArray{field.toPlainText()}).toJson(QJsonDocument::Compact);
        printLine("text " + json.mid(1, json.size() - 2));
    });
    field.show();
    field.activateWindow();
    auto* ready = new QTimer(&field);
    QObject::connect(ready, &QTimer::timeout, &field, [&field, ready] {
        if (!field.isActiveWindow())
            return;
        ready->stop();
        printLine("ready");
    });
    ready->start(20);
    QObject::connect(&app, &QGuiApplication::applicationStateChanged, &field,
                     [](Qt::ApplicationState state) {
                         printLine(state == Qt::ApplicationActive ? "active" : "inactive");
                     });
    return app.exec();
}
