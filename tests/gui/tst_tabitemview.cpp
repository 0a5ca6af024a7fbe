#include "browser/HistoryRowDelegate.h"
#include "browser/TabItemView.h"

#include <QAccessible>
#include <QLabel>
#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

class TestTabItemView : public QObject
{
    Q_OBJECT

private slots:
    void contentsSitWhereTheTabBarExpects_data();
    void contentsSitWhereTheTabBarExpects();
    void theHighlightFollowsSelectionBeneathTheContents();
    void everyPressRunsTheClickAction();
    void aScreenReaderReadsAPageTabWithTitleAndCount();
};

void TestTabItemView::contentsSitWhereTheTabBarExpects_data()
{
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("no items") << qint64(0) << u"0"_s;
    QTest::newRow("thousands, no grouping") << qint64(1234) << u"1234"_s;
}

void TestTabItemView::contentsSitWhereTheTabBarExpects()
{
    QFETCH(qint64, count);
    QFETCH(QString, text);
    // A locale that groups thousands must not reach the count.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TabItemView tab;
    tab.setIcon(HistoryRowDelegate::image(u"tab_recent"_s));
    tab.setTitle(u"Recents"_s);
    tab.setCount(count);
    tab.resize(190, 36);
    tab.show();
    QLocale::setDefault(QLocale::c());
    QVERIFY(QTest::qWaitForWindowExposed(&tab));

    QCOMPARE(tab.countField()->text(), text);
    QCOMPARE(tab.imageView()->geometry(), QRect(10, 8, 20, 20));
    QVERIFY(!tab.imageView()->pixmap().isNull());
    QCOMPARE(tab.textField()->geometry(), QRect(40, 8, 120, 20));
    QCOMPARE(tab.textField()->text(), u"Recents"_s);
    QCOMPARE(tab.textField()->font().pixelSize(), 16);
    QCOMPARE(tab.countField()->font().pixelSize(), 14);
    QCOMPARE(tab.countField()->geometry().right() + 1, 190 - 10);
    QCOMPARE(tab.countField()->geometry().center().y(), 18);
    QCOMPARE(tab.countField()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QVERIFY(tab.countField()->palette().color(QPalette::WindowText) !=
            tab.textField()->palette().color(QPalette::WindowText));
}

void TestTabItemView::theHighlightFollowsSelectionBeneathTheContents()
{
    TabItemView tab;
    tab.setTitle(u"Marked"_s);
    QVERIFY(tab.effectView()->isHidden());
    QCOMPARE(tab.children().constFirst(), tab.effectView());
    const QColor unselected = tab.textField()->palette().color(QPalette::WindowText);

    tab.setSelected(true);
    QVERIFY(!tab.effectView()->isHidden());
    QVERIFY(tab.textField()->palette().color(QPalette::WindowText) != unselected);
    tab.setSelected(true);
    QVERIFY(!tab.effectView()->isHidden());
    tab.setSelected(false);
    QVERIFY(tab.effectView()->isHidden());
    QCOMPARE(tab.textField()->palette().color(QPalette::WindowText), unselected);
}

void TestTabItemView::everyPressRunsTheClickAction()
{
    TabItemView tab;
    tab.resize(190, 36);
    tab.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tab));
    QTest::mouseClick(&tab, Qt::LeftButton); // no action yet: nothing happens
    int runs = 0;
    tab.setClickBlock([&runs] { ++runs; });
    QTest::mouseClick(&tab, Qt::LeftButton);
    // A press on the title still reaches the tab.
    QTest::mouseClick(&tab, Qt::LeftButton, {}, tab.textField()->geometry().center());
    QCOMPARE(runs, 2);
}

void TestTabItemView::aScreenReaderReadsAPageTabWithTitleAndCount()
{
    TabItemView tab;
    tab.setTitle(u"Text"_s);
    tab.setCount(97);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&tab);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::PageTab);
    QCOMPARE(accessible->text(QAccessible::Name), u"Text"_s);
    QCOMPARE(accessible->text(QAccessible::Description), u"97"_s);
    QVERIFY(!accessible->state().selected);
    tab.setSelected(true);
    QVERIFY(accessible->state().selected);
}

QTEST_MAIN(TestTabItemView)
#include "tst_tabitemview.moc"
