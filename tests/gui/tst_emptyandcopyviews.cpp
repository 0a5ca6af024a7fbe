#include "browser/CopyAnimationView.h"
#include "browser/EmptyView.h"

#include <QAbstractAnimation>
#include <QLabel>
#include <QPointer>
#include <QtTest>

namespace {
const QColor kPanel(0xFF, 0xC0, 0x39);
const QColor kStroke(0x9C, 0x27, 0xB0);

// Points of the drawing area (24 x 24): on the top of the ring, in the ring's opening on the
// right, and on the long stroke of the check mark.
const QPoint kRingTop(12, 1);
const QPoint kRingOpening(22, 12);
const QPoint kCheck(14, 11);

bool near(QColor actual, QColor expected)
{
    return qAbs(actual.red() - expected.red()) + qAbs(actual.green() - expected.green()) +
               qAbs(actual.blue() - expected.blue()) <
           40;
}

struct Host
{
    Host()
    {
        widget.resize(300, 40);
        widget.show();
    }
    QWidget widget;
};

// The panel as it is `time` ms into its sequence, stopped there.
void stepTo(CopyAnimationView* panel, int time)
{
    panel->animation()->pause();
    panel->animation()->setCurrentTime(time);
}

QColor colorAt(CopyAnimationView* panel, QPoint inContainer)
{
    return panel->grab().toImage().pixelColor(panel->animationContainer().topLeft() + inContainer);
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

        QTest::newRow("history list") << QList<bool>{} << QStringLiteral("No Record");
        QTest::newRow("search list") << QList<bool>{true} << QStringLiteral("No Result");
        QTest::newRow("search switched off")
            << QList<bool>{true, false} << QStringLiteral("No Record");
    }

    void emptyViewSaysWhyTheListIsEmpty()
    {
        QFETCH(QList<bool>, forSearch);
        QFETCH(QString, title);

        EmptyView view;
        for (bool value : forSearch)
            view.setForSearch(value);
        QCOMPARE(view.findChild<QLabel*>(QStringLiteral("titleLabel"))->text(), title);
        QCOMPARE(view.findChild<QLabel*>(QStringLiteral("hintLabel"))->text(),
                 QStringLiteral("Vantrel will capture items automatically"));
    }

    void copyPanelSlidesInOverTheHostAndOnTop()
    {
        Host host;
        auto* sibling = new QWidget(&host.widget);
        sibling->setGeometry(host.widget.rect());
        sibling->show();

        CopyAnimationView* panel = CopyAnimationView::startAnimationInView(&host.widget);
        stepTo(panel, 0);
        QCOMPARE(panel->parentWidget(), &host.widget);
        QCOMPARE(panel->geometry(), QRect(300, 0, 300, 40));
        QCOMPARE(panel->animationContainer(), QRect(138, 8, 24, 24));

        stepTo(panel, 300);
        QCOMPARE(panel->geometry(), QRect(0, 0, 300, 40));
        // Above the host's other children, and passing the pointer on to the row beneath.
        QCOMPARE(host.widget.children().constLast(), panel);
        QCOMPARE(host.widget.childAt(150, 20), sibling);
    }

    void copyPanelStrokesTheRingThenTheCheckMark_data()
    {
        QTest::addColumn<int>("time");
        QTest::addColumn<QColor>("ringTop");
        QTest::addColumn<QColor>("check");

        QTest::newRow("slid in, nothing drawn") << 300 << kPanel << kPanel;
        QTest::newRow("ring drawn") << 500 << kStroke << kPanel;
        QTest::newRow("check mark drawn") << 600 << kStroke << kStroke;
        QTest::newRow("end of the pause") << 1100 << kStroke << kStroke;
    }

    void copyPanelStrokesTheRingThenTheCheckMark()
    {
        QFETCH(int, time);
        QFETCH(QColor, ringTop);
        QFETCH(QColor, check);

        Host host;
        CopyAnimationView* panel = CopyAnimationView::startAnimationInView(&host.widget);
        stepTo(panel, time);
        QCOMPARE(panel->pos(), QPoint(0, 0));
        QVERIFY2(near(colorAt(panel, kRingTop), ringTop),
                 qPrintable(colorAt(panel, kRingTop).name()));
        QVERIFY2(near(colorAt(panel, kCheck), check), qPrintable(colorAt(panel, kCheck).name()));
        // The ring stays open on the right.
        QVERIFY(near(colorAt(panel, kRingOpening), kPanel));
    }

    void copyPanelSlidesOutToTheHostsRightEdgeAndRemovesItself()
    {
        Host host;
        QPointer<CopyAnimationView> panel = CopyAnimationView::startAnimationInView(&host.widget);
        stepTo(panel, 1000);
        // Measured when the slide out starts, not when the panel was made.
        host.widget.resize(400, 50);
        stepTo(panel, 1250);
        QVERIFY(panel->x() > 0 && panel->x() < 400);
        stepTo(panel, 1400);
        QCOMPARE(panel->geometry(), QRect(400, 0, 400, 50));
        QTRY_VERIFY(panel.isNull());
    }

    void panelsInOneHostRunEachOnTheirOwn()
    {
        Host host;
        QPointer<CopyAnimationView> first = CopyAnimationView::startAnimationInView(&host.widget);
        stepTo(first, 700);
        QPointer<CopyAnimationView> second = CopyAnimationView::startAnimationInView(&host.widget);
        stepTo(second, 0);
        QCOMPARE(first->pos(), QPoint(0, 0));
        QCOMPARE(second->pos(), QPoint(300, 0));

        stepTo(first, 1400);
        QTRY_VERIFY(first.isNull());
        QVERIFY(!second.isNull());
        // Left to itself, the second one runs its whole sequence and goes.
        second->animation()->resume();
        QTRY_VERIFY_WITH_TIMEOUT(second.isNull(), 10000);
        QVERIFY(host.widget.findChildren<CopyAnimationView*>().isEmpty());
    }
};

QTEST_MAIN(TestEmptyAndCopyViews)
#include "tst_emptyandcopyviews.moc"
