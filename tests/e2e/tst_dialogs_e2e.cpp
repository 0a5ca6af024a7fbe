// Message boxes on a real X server, set up as the application sets itself up (OpenGL contexts
// shared for the web preview): the box is drawn on the screen itself, read back from the root
// window as a screenshot reads it, before any web page was ever shown.
#include "shell/Dialogs.h"

#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {
QMessageBox* openBox()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}

// The share of the box's pixels on the screen that are the palette's window colour: a box drawn
// is mostly its background, one left undrawn is whatever was beneath it, or black.
double backgroundShareOnScreen(QMessageBox* box)
{
    const QRect area(box->mapToGlobal(QPoint(0, 0)), box->size());
    const QImage shot = box->screen()->grabWindow(0).toImage().copy(area);
    const QColor background = box->palette().color(QPalette::Window);
    qsizetype matching = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x)
            matching += shot.pixelColor(x, y).rgb() == background.rgb();
    }
    return shot.isNull() ? 0.0 : double(matching) / double(shot.width() * shot.height());
}
} // namespace

class TestDialogsE2E : public QObject
{
    Q_OBJECT

private slots:
    void aConfirmationOverItsWindowIsDrawnOnTheScreen();
};

void TestDialogsE2E::aConfirmationOverItsWindowIsDrawnOnTheScreen()
{
    QWidget window;
    window.resize(800, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    bool answered = false;
    Dialogs::confirm(&window, u"Do you really want to clear the history?"_s, u"Cancel"_s,
                     u"Clear"_s, [&answered](bool) { answered = true; });
    QMessageBox* box = openBox();
    QVERIFY(box);
    QVERIFY(QTest::qWaitForWindowExposed(box));
    QTRY_VERIFY2(backgroundShareOnScreen(box) > 0.5, "the box is not drawn on the screen");
    box->reject();
    QVERIFY(answered);
}

int main(int argc, char** argv)
{
    // As the application does before its QApplication exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestDialogsE2E test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_dialogs_e2e.moc"
