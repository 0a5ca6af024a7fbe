#include "controls/RFOverlayScrollView.h"
#include "controls/RFOverlayScroller.h"
#include "support/Clock.h"

#include <QEnterEvent>
#include <QHeaderView>
#include <QListView>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QTableView>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
class ManualClock : public Clock
{
public:
    double now() const override { return time; }
    double time = 1000.0;
};

QStringList rows(int count)
{
    QStringList result;
    for (int i = 0; i < count; ++i)
        result << QStringLiteral("row %1").arg(i);
    return result;
}

// A list or table of 200 rows with an overlay scroller, shown.
struct ScrolledView
{
    explicit ScrolledView(bool table)
    {
        if (table) {
            auto* tableView = new QTableView;
            tableView->setModel(&model);
            view.reset(tableView);
        } else {
            auto* listView = new QListView;
            listView->setModel(&model);
            view.reset(listView);
        }
        view->resize(300, 200);
        overlay = new RFOverlayScrollView(view.get(), clock);
        view->show();
    }

    RFOverlayScroller* scroller() const { return overlay->verticalScroller(); }

    ManualClock clock;
    QStringListModel model{rows(200)};
    std::unique_ptr<QAbstractItemView> view;
    RFOverlayScrollView* overlay = nullptr;
};

void send(RFOverlayScroller* scroller, const QString& what)
{
    const QPointF inside(scroller->width() / 2.0, scroller->height() / 2.0);
    if (what == u"scroll") {
        scroller->setValue(scroller->value() + 1);
    } else if (what == u"enter") {
        QEnterEvent event(inside, inside, inside);
        QCoreApplication::sendEvent(scroller, &event);
    } else if (what == u"move") {
        QMouseEvent event(QEvent::MouseMove, inside, inside, Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(scroller, &event);
    } else if (what == u"leave") {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(scroller, &event);
    }
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
        QVERIFY(scrolled.scroller()->isVisible());
        QVERIFY(frame.width() > 0);
        QCOMPARE(frame.right(), bounds.right());
        QCOMPARE(frame.top(), bounds.top() + header);
        QCOMPARE(frame.bottom(), bounds.bottom());
        QCOMPARE(view.childAt(frame.center()), scrolled.scroller());

        view.resize(400, 300);
        QCOMPARE(scrolled.scroller()->geometry().right(), view.contentsRect().right());
        QCOMPARE(scrolled.scroller()->geometry().bottom(), view.contentsRect().bottom());
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
        scrolled.model.setStringList(rows(2));
        QTRY_VERIFY(!scrolled.scroller()->isVisible());
    }

    // Each step is "<seconds> <event>" (scroll, enter, move, leave) or "<seconds> <opacity>"
    // (shown, dimmed, fading: strictly between).
    void opacityFollowsScrollsAndThePointer_data()
    {
        QTest::addColumn<QStringList>("steps");

        QTest::newRow("leaving dims at once")
            << QStringList{u"0 leave"_s, u"0.15 fading"_s, u"0.3 dimmed"_s};
        QTest::newRow("a scroll shows it and it fades 1.5 s later")
            << QStringList{u"0 leave"_s,   u"1 scroll"_s,    u"1.25 shown"_s,
                           u"2.5 shown"_s, u"2.65 fading"_s, u"2.8 dimmed"_s};
        QTest::newRow("scrolling again restarts the delay")
            << QStringList{u"0 leave"_s,   u"1 scroll"_s,    u"2 scroll"_s,
                           u"3.4 shown"_s, u"3.65 fading"_s, u"3.8 dimmed"_s};
        QTest::newRow("entering cancels the fade and shows it within 0.1 s")
            << QStringList{u"0 leave"_s,     u"1 scroll"_s,  u"2.7 enter"_s,
                           u"2.75 fading"_s, u"2.8 shown"_s, u"9 shown"_s};
        QTest::newRow("scrolling under the pointer keeps it shown") << QStringList{
            u"0 enter"_s, u"1 scroll"_s, u"9 shown"_s, u"9 leave"_s, u"9.3 dimmed"_s};
        QTest::newRow("moving inside shows it at once")
            << QStringList{u"0 leave"_s, u"1 enter"_s, u"1 move"_s, u"1 shown"_s};
    }

    void opacityFollowsScrollsAndThePointer()
    {
        QFETCH(QStringList, steps);

        ScrolledView scrolled(false);
        RFOverlayScroller* scroller = scrolled.scroller();
        const double start = scrolled.clock.time;
        for (const QString& step : steps) {
            const QStringList parts = step.split(u' ');
            scrolled.clock.time = start + parts[0].toDouble();
            const QString& what = parts[1];
            const qreal opacity = scroller->opacity();
            if (what == u"shown")
                QVERIFY2(qFuzzyCompare(opacity, 1.0), qPrintable(step));
            else if (what == u"dimmed")
                QVERIFY2(qFuzzyCompare(opacity, 0.5), qPrintable(step));
            else if (what == u"fading")
                QVERIFY2(opacity > 0.5 && opacity < 1.0, qPrintable(step));
            else
                send(scroller, what);
        }
    }
};

QTEST_MAIN(TestOverlayScroller)
#include "tst_overlayscroller.moc"
