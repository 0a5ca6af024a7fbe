#include "browser/CopyAnimationView.h"
#include "browser/EmptyView.h"

#include <QAbstractAnimation>
#include <QLabel>
#include <QPointer>
#include <QtTest>

namespace {
const QColor kPanel(0xFF, 0xC0, 0x39);
const QColor kStroke(0x9C, 0x27, 0xB0);

// Points of the 24 x 24 drawing area: the top of the ring, the ring's opening on the right, and
// the long stroke of the check mark.
const QPoint kRingTop(12, 1);
const QPoint kRingOpening(22, 12);
const QPoint kCheck(14, 11);

// The colour at `point` of the drawing area is near `expected`.
bool drawnIn(CopyAnimationView* panel, QPoint point, QColor expected)
{
    const QImage image = panel->grab().toImage();
    const QColor actual = image.pixelColor(panel->animationContainer().topLeft() + point);
    return qAbs(actual.red() - expected.red()) + qAbs(actual.green() - expected.green()) +
               qAbs(actual.blue() - expected.blue()) <
           40;
}

// Starts a panel in `host` and stops it `time` ms into its sequence.
CopyAnimationView* startAt(QWidget* host, int time)
{
    CopyAnimationView* panel = CopyAnimationView::startAnimationInView(host);
    panel->animation()->pause();
    panel->animation()->setCurrentTime(time);
    return panel;
}
} // namespace

class TestEmptyAndCopyViews : public QObject
{
    Q_OBJECT

private slots:
    void emptyViewSaysWhyTheListIsEmpty_data()
    {
        QTest::addColumn<QList<bool>>("forSearch");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("hint");

        const QString capturing = QStringLiteral("Vantrel will capture items automatically");
        QTest::newRow("history list") << QList<bool>{} << QStringLiteral("No Record") << capturing;
        QTest::newRow("search list")
            << QList<bool>{true} << QStringLiteral("No Result")
            << QStringLiteral("Type in the search field to search the whole history");
        QTest::newRow("search switched off")
            << QList<bool>{true, false} << QStringLiteral("No Record") << capturing;
    }

    void emptyViewSaysWhyTheListIsEmpty()
    {
        QFETCH(QList<bool>, forSearch);
        QFETCH(QString, title);
        QFETCH(QString, hint);

        EmptyView view;
        for (bool value : forSearch)
            view.setForSearch(value);
        QCOMPARE(view.findChild<QLabel*>(QStringLiteral("titleLabel"))->text(), title);
        QCOMPARE(view.findChild<QLabel*>(QStringLiteral("hintLabel"))->text(), hint);
    }

    void copyPanelCoversTheHostAboveItsChildren()
    {
        QWidget host;
        host.resize(300, 40);
        auto* row = new QWidget(&host);
        row->resize(host.size());
        CopyAnimationView* panel = CopyAnimationView::startAnimationInView(&host);
        QCOMPARE(panel->geometry(), QRect(300, 0, 300, 40));
        QCOMPARE(panel->animationContainer(), QRect(138, 8, 24, 24));
        QCOMPARE(host.children().constLast(), panel);
        // The row beneath still takes the pointer.
        QCOMPARE(host.childAt(150, 20), row);
    }

    void copyPanelSlidesInThenStrokesTheRingAndTheCheckMark_data()
    {
        QTest::addColumn<int>("time");
        QTest::addColumn<int>("x");
        QTest::addColumn<QColor>("ringTop");
        QTest::addColumn<QColor>("check");

        QTest::newRow("start") << 0 << 300 << kPanel << kPanel;
        QTest::newRow("slid in") << 300 << 0 << kPanel << kPanel;
        QTest::newRow("ring drawn") << 500 << 0 << kStroke << kPanel;
        QTest::newRow("check mark drawn") << 600 << 0 << kStroke << kStroke;
        QTest::newRow("end of the pause") << 1100 << 0 << kStroke << kStroke;
    }

    void copyPanelSlidesInThenStrokesTheRingAndTheCheckMark()
    {
        QFETCH(int, time);
        QFETCH(int, x);
        QFETCH(QColor, ringTop);
        QFETCH(QColor, check);

        QWidget host;
        host.resize(300, 40);
        CopyAnimationView* panel = startAt(&host, time);
        QCOMPARE(panel->geometry(), QRect(x, 0, 300, 40));
        QVERIFY(drawnIn(panel, kRingTop, ringTop));
        QVERIFY(drawnIn(panel, kCheck, check));
        QVERIFY(drawnIn(panel, kRingOpening, kPanel));
    }

    void copyPanelSlidesOutToTheHostsRightEdgeAndRemovesItself()
    {
        QWidget host;
        host.resize(300, 40);
        QPointer<CopyAnimationView> panel = startAt(&host, 1000);
        // Measured when the slide out starts, not when the panel was made.
        host.resize(400, 50);
        panel->animation()->setCurrentTime(1250);
        QVERIFY(panel->x() > 0 && panel->x() < 400);
        panel->animation()->setCurrentTime(1400);
        QCOMPARE(panel->geometry(), QRect(400, 0, 400, 50));
        QTRY_VERIFY(panel.isNull());
    }

    void panelsInOneHostRunEachOnTheirOwn()
    {
        QWidget host;
        host.resize(300, 40);
        QPointer<CopyAnimationView> first = startAt(&host, 700);
        QPointer<CopyAnimationView> second = startAt(&host, 0);
        QCOMPARE(first->pos(), QPoint(0, 0));
        QCOMPARE(second->pos(), QPoint(300, 0));

        first->animation()->setCurrentTime(1400);
        QTRY_VERIFY(first.isNull());
        QVERIFY(!second.isNull());
        // Left to itself, the second one runs its whole sequence and goes.
        second->animation()->resume();
        QTRY_VERIFY_WITH_TIMEOUT(second.isNull(), 10000);
    }
};

QTEST_MAIN(TestEmptyAndCopyViews)
#include "tst_emptyandcopyviews.moc"
