#include "browser/TabItemView.h"
#include "controls/BackgroundDrag.h"
#include "controls/MyVisualEffectView.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
enum class Movement { None, UnderDragDistance, BeyondDragDistance };

// A window whose background is a MyVisualEffectView holding a button and a tab, as the main
// window's top bar and sidebar hold the search field, the buttons and the tabs.
struct Window
{
    QWidget top;
    MyVisualEffectView* background = new MyVisualEffectView(&top);
    QPushButton* button = new QPushButton(u"Copy"_s, background);
    TabItemView* tab = new TabItemView(background);
    int tabClicks = 0;

    Window()
    {
        top.resize(400, 300);
        background->setGeometry(top.rect());
        button->setGeometry(10, 10, 120, 30);
        tab->setGeometry(10, 60, 190, 36);
        tab->setTitle(u"Recents"_s);
        tab->setClickBlock([this] { ++tabClicks; });
    }

    QPoint pointOf(const QString& target) const
    {
        if (target == u"button")
            return button->geometry().center();
        if (target == u"tab")
            return tab->geometry().center();
        return QPoint(300, 200); // the empty background
    }
};

int movedBy(Movement movement)
{
    const int distance = QApplication::startDragDistance();
    switch (movement) {
    case Movement::None:
        return 0;
    case Movement::UnderDragDistance:
        return distance - 1;
    case Movement::BeyondDragDistance:
        return distance + 5;
    }
    return 0;
}
} // namespace

Q_DECLARE_METATYPE(Movement)

class TestBackgroundDrag : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        BackgroundDrag::setMoveStarter([this](QWindow* window) {
            m_movesAsked.append(window);
            return true;
        });
    }
    void cleanup()
    {
        BackgroundDrag::setMoveStarter({});
        m_movesAsked.clear();
    }

    void onlyADragBeyondTheDragDistanceFromTheBackgroundMovesTheWindow_data();
    void onlyADragBeyondTheDragDistanceFromTheBackgroundMovesTheWindow();

private:
    QList<QWindow*> m_movesAsked;
};

void TestBackgroundDrag::onlyADragBeyondTheDragDistanceFromTheBackgroundMovesTheWindow_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<Movement>("movement");
    QTest::addColumn<bool>("moves");

    QTest::newRow("a click on the background starts no move")
        << u"background"_s << Movement::None << false;
    QTest::newRow("a drag under the drag distance on the background starts no move")
        << u"background"_s << Movement::UnderDragDistance << false;
    QTest::newRow("a drag beyond the drag distance from the background moves the window")
        << u"background"_s << Movement::BeyondDragDistance << true;
    QTest::newRow("a click on a button is the button's") << u"button"_s << Movement::None << false;
    QTest::newRow("a drag from a button is the button's")
        << u"button"_s << Movement::BeyondDragDistance << false;
    QTest::newRow("a click on a tab is the tab's") << u"tab"_s << Movement::None << false;
    QTest::newRow("a drag under the drag distance from a tab is the tab's")
        << u"tab"_s << Movement::UnderDragDistance << false;
    QTest::newRow("a drag from a tab is the tab's")
        << u"tab"_s << Movement::BeyondDragDistance << false;
}

void TestBackgroundDrag::onlyADragBeyondTheDragDistanceFromTheBackgroundMovesTheWindow()
{
    QFETCH(QString, target);
    QFETCH(Movement, movement);
    QFETCH(bool, moves);

    Window window;
    window.top.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window.top));
    QWindow* handle = window.top.windowHandle();
    QSignalSpy clicked(window.button, &QPushButton::clicked);

    const QPoint from = window.pointOf(target);
    const QPoint to = from + QPoint(movedBy(movement), 0);
    QTest::mousePress(handle, Qt::LeftButton, {}, from);
    QTest::mouseMove(handle, from + QPoint(1, 0));
    QTest::mouseMove(handle, to);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, to);

    QCOMPARE(m_movesAsked, moves ? QList<QWindow*>{handle} : QList<QWindow*>{});
    QCOMPARE(clicked.count(), target == u"button" ? 1 : 0);
    QCOMPARE(window.tabClicks, target == u"tab" ? 1 : 0);

    // Whatever came before, the next click is the control's and moves nothing.
    QTest::mouseClick(handle, Qt::LeftButton, {}, window.pointOf(u"button"_s));
    QCOMPARE(clicked.count(), target == u"button" ? 2 : 1);
    QCOMPARE(m_movesAsked.size(), moves ? 1 : 0);
}

QTEST_MAIN(TestBackgroundDrag)
#include "tst_backgrounddrag.moc"
