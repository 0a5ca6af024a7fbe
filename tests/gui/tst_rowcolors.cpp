#include "browser/RowColors.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
QPalette paletteWith(QColor base, QColor highlight, QColor highlightedText)
{
    QPalette palette;
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::HighlightedText, highlightedText);
    palette.setColor(QPalette::Text, base.lightness() > 128 ? Qt::black : Qt::white);
    return palette;
}
} // namespace

class TestRowColors : public QObject
{
    Q_OBJECT

private slots:
    void theSelectedRowStandsOutFromTheList_data();
    void theSelectedRowStandsOutFromTheList();
};

void TestRowColors::theSelectedRowStandsOutFromTheList_data()
{
    QTest::addColumn<QPalette>("palette");
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(u"Fusion"_s));
    QTest::newRow("Fusion light") << fusion->standardPalette();
    QTest::newRow("Adwaita dark") << paletteWith(QColor(0x2d, 0x2d, 0x2d), QColor(0x15, 0x53, 0x9e),
                                                 Qt::white);
    QTest::newRow("Breeze dark") << paletteWith(QColor(0x23, 0x26, 0x29), QColor(0x3d, 0xae, 0xe9),
                                                QColor(0xfc, 0xfc, 0xfc));
    // A theme whose highlight is nearly its list colour, and one whose highlighted text is lost on
    // its highlight.
    QTest::newRow("faint light highlight")
        << paletteWith(Qt::white, QColor(0xee, 0xf0, 0xf4), Qt::black);
    QTest::newRow("faint dark highlight")
        << paletteWith(QColor(0x30, 0x30, 0x30), QColor(0x38, 0x38, 0x3a), Qt::white);
    QTest::newRow("unreadable highlighted text")
        << paletteWith(Qt::white, QColor(0x30, 0x50, 0x90), QColor(0x38, 0x58, 0x98));
}

void TestRowColors::theSelectedRowStandsOutFromTheList()
{
    QFETCH(QPalette, palette);
    const QColor list = palette.color(QPalette::Base);
    const QColor fill = RowColors::selectedFill(palette);
    QVERIFY2(RowColors::contrast(fill, list) >= RowColors::minimumContrast,
             qPrintable(u"%1 on %2"_s.arg(fill.name(), list.name())));
    QVERIFY(RowColors::contrast(RowColors::selectedText(palette), fill) >=
            RowColors::minimumTextContrast);
    // Drawn from the theme's highlight: a highlight that already stands out is used as it is.
    if (RowColors::contrast(palette.color(QPalette::Highlight), list) >= RowColors::minimumContrast)
        QCOMPARE(fill, palette.color(QPalette::Highlight));
    else
        QCOMPARE(fill.hue(), palette.color(QPalette::Highlight).hue());
}

QTEST_MAIN(TestRowColors)
#include "tst_rowcolors.moc"
