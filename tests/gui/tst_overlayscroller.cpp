#include "controls/RFOverlayScrollView.h"
#include "controls/RFOverlayScroller.h"
#include "support/Clock.h"

#include <QEnterEvent>
#include <QHeaderView>
#include <QListView>
#include <QStringListModel>
#include <QTableView>
#include <QtTest>
#include <memory>

namespace {
class ManualClock : public Clock
{
public:
    double now() const override { return time; }
    double time = 1000.0;
};

// A list, or a table with its header, of 200 rows with an overlay scroller, shown.
struct ScrolledView
{
    explicit ScrolledView(bool table)
    {
        if (table)
            view = std::make_unique<QTableView>();
        else
            view = std::make_unique<QListView>();
        QStringList rows;
        for (int i = 0; i < 200; ++i)
            rows << QString::number(i);
        model.setStringList(rows);
        view->setModel(&model);
        view->resize(300, 200);
        overlay = new RFOverlayScrollView(view.get(), clock);
        view->show();
    }

    RFOverlayScroller* scroller() const { return overlay->verticalScroller(); }

    ManualClock clock;
    QStringListModel model;
    std::unique_ptr<QAbstractItemView> view;
    RFOverlayScrollView* overlay = nullptr;
};

void send(RFOverlayScroller* scroller, const QString& what)
{
    const QPointF inside(scroller->width() / 2.0, scroller->height() / 2.0);
    QEnterEvent enter(inside, inside, inside);
    QMouseEvent move(QEvent::MouseMove, inside, inside, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QEvent leave(QEvent::Leave);
    if (what == QLatin1String("scroll"))
        scroller->setValue(scroller->value() + 1);
    else
        QCoreApplication::sendEvent(scroller, what == QLatin1String("enter")  ? &enter
                                              : what == QLatin1String("move") ? &move
                                                                              : &leave);
}
} // namespace

class TestOverlayScroller : public QObject
{
    Q_OBJECT

private slots:
    void contentUsesTheFullWidthAndTheScrollerSitsBelowTheHeader_data()
    {
        QTest::addColumn<bool>("table");
        QTest::newRow("list") << false;
        QTest::newRow("table with a header") << true;
    }

    void contentUsesTheFullWidthAndTheScrollerSitsBelowTheHeader()
    {
        QFETCH(bool, table);

        ScrolledView scrolled(table);
        QAbstractItemView& view = *scrolled.view;
        const QRect bounds = view.contentsRect();
        const int header =
            table ? static_cast<QTableView&>(view).horizontalHeader()->sizeHint().height() : 0;
        QCOMPARE(scrolled.overlay->headerOffset(), header);
        QVERIFY(!view.verticalScrollBar()->isVisible());
        QCOMPARE(view.viewport()->geometry().right(), bounds.right());

        const QRect frame = scrolled.scroller()->geometry();
        QVERIFY(scrolled.scroller()->isVisible() && frame.width() > 0);
        QCOMPARE(frame.right(), bounds.right());
        QCOMPARE(frame.top(), bounds.top() + header);
        QCOMPARE(frame.bottom(), bounds.bottom());
        QCOMPARE(view.childAt(frame.center()), scrolled.scroller());
    }

    void scrollerAndContentMoveTogether()
    {
        ScrolledView scrolled(false);
        QScrollBar* own = scrolled.view->verticalScrollBar();
        QCOMPARE(scrolled.scroller()->maximum(), own->maximum());
        QCOMPARE(scrolled.scroller()->pageStep(), own->pageStep());
        scrolled.scroller()->setValue(own->maximum() / 2);
        QCOMPARE(own->value(), own->maximum() / 2);
        scrolled.view->scrollToTop();
        QCOMPARE(scrolled.scroller()->value(), 0);

        // With nothing to scroll there is no scroller to see.
        scrolled.model.setStringList({QStringLiteral("one")});
        QTRY_VERIFY(!scrolled.scroller()->isVisible());
    }

    // Each step is "<seconds> <event>" (scroll, enter, move, leave) or "<seconds> <opacity>"
    // (shown, dimmed, or fading: strictly between).
    void opacityFollowsScrollsAndThePointer_data()
    {
        QTest::addColumn<QString>("steps");

        QTest::newRow("leaving dims at once") << QStringLiteral("0 leave,0.15 fading,0.3 dimmed");
        QTest::newRow("a scroll shows it and it fades 1.5 s later")
            << QStringLiteral("0 leave,1 scroll,1.25 shown,2.5 shown,2.65 fading,2.8 dimmed");
        QTest::newRow("scrolling again restarts the delay")
            << QStringLiteral("0 leave,1 scroll,2 scroll,3.4 shown,3.65 fading,3.8 dimmed");
        QTest::newRow("entering cancels the fade and shows it within 0.1 s")
            << QStringLiteral("0 leave,1 scroll,2.7 enter,2.75 fading,2.8 shown,9 shown");
        QTest::newRow("scrolling under the pointer keeps it shown")
            << QStringLiteral("0 enter,1 scroll,9 shown,9 leave,9.3 dimmed");
        QTest::newRow("moving inside shows it at once")
            << QStringLiteral("0 leave,1 enter,1 move,1 shown");
    }

    void opacityFollowsScrollsAndThePointer()
    {
        QFETCH(QString, steps);

        ScrolledView scrolled(false);
        const double start = scrolled.clock.time;
        for (const QString& step : steps.split(u',')) {
            const QStringList parts = step.split(u' ');
            scrolled.clock.time = start + parts[0].toDouble();
            const qreal opacity = scrolled.scroller()->opacity();
            if (parts[1] == QLatin1String("shown"))
                QVERIFY2(qFuzzyCompare(opacity, 1.0), qPrintable(step));
            else if (parts[1] == QLatin1String("dimmed"))
                QVERIFY2(qFuzzyCompare(opacity, 0.5), qPrintable(step));
            else if (parts[1] == QLatin1String("fading"))
                QVERIFY2(opacity > 0.5 && opacity < 1.0, qPrintable(step));
            else
                send(scrolled.scroller(), parts[1]);
        }
    }
};

QTEST_MAIN(TestOverlayScroller)
#include "tst_overlayscroller.moc"
