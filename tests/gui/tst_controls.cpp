#include "controls/GrayButton.h"
#include "controls/HighlightButton.h"
#include "controls/HighlightButton_NoTemplate.h"
#include "controls/ImageAdditions.h"
#include "controls/MySearchField.h"
#include "controls/TemplateButton.h"
#include "controls/TemplateImage.h"

#include <QPainter>
#include <QtTest>
#include <memory>

namespace {
// An image whose own colour is green all over.
QIcon greenSquare()
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::green);
    return QIcon(pixmap);
}

QPalette paletteWithText(const QColor& text)
{
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Text, text);
    return palette;
}

// The colour in the middle of the button, where its image is drawn.
QColor imageColor(QWidget& button)
{
    const QImage image = button.grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

std::unique_ptr<TemplateButton> makeButton(const QString& kind)
{
    if (kind == u"HighlightButton_NoTemplate")
        return std::make_unique<HighlightButton_NoTemplate>();
    if (kind == u"HighlightButton")
        return std::make_unique<HighlightButton>();
    return std::make_unique<TemplateButton>();
}
} // namespace

class TestControls : public QObject
{
    Q_OBJECT

private slots:
    void buttonImagesFollowThePalette_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("drawnAsTemplate");

        QTest::newRow("TemplateButton") << QStringLiteral("TemplateButton") << true;
        QTest::newRow("HighlightButton") << QStringLiteral("HighlightButton") << true;
        QTest::newRow("HighlightButton_NoTemplate")
            << QStringLiteral("HighlightButton_NoTemplate") << false;
    }

    void buttonImagesFollowThePalette()
    {
        QFETCH(QString, kind);
        QFETCH(bool, drawnAsTemplate);

        std::unique_ptr<TemplateButton> button = makeButton(kind);
        button->setPalette(paletteWithText(Qt::red));
        button->setImage(greenSquare());
        button->setIconSize(QSize(24, 24));
        button->resize(32, 32);
        QCOMPARE(button->useTemplateImage(), drawnAsTemplate);
        QCOMPARE(imageColor(*button), drawnAsTemplate ? QColor(Qt::red) : QColor(Qt::green));

        // A new theme: the image is drawn again in its text colour.
        button->setPalette(paletteWithText(Qt::blue));
        QCOMPARE(imageColor(*button), drawnAsTemplate ? QColor(Qt::blue) : QColor(Qt::green));
    }

    void templateImageIsSharpAtTheDevicePixelRatio()
    {
        const QPalette palette = paletteWithText(Qt::red);
        const QPixmap pixmap = TemplateImage::pixmap(greenSquare(), QSize(12, 12), 2.0,
                                                     TemplateImage::color(palette, true));
        QCOMPARE(pixmap.size(), QSize(24, 24));
        QCOMPARE(pixmap.devicePixelRatio(), 2.0);
        QCOMPARE(pixmap.toImage().pixelColor(5, 5), palette.color(QPalette::HighlightedText));
    }

    void highlightButtonLightsUpUnderThePointerInTheActiveWindowOnly()
    {
        QWidget window;
        auto* button = new HighlightButton(&window);
        button->setGeometry(10, 10, 24, 24);
        window.resize(100, 60);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        // Moved and resized, it lights up over its new area.
        button->setGeometry(50, 10, 40, 40);
        QTest::mouseMove(&window, QPoint(80, 45));
        QTRY_VERIFY(button->isHighlighted());
        QTest::mouseMove(&window, QPoint(20, 20));
        QTRY_VERIFY(!button->isHighlighted());

        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QTest::mouseMove(&window, QPoint(80, 45));
        QVERIFY(!button->isHighlighted());
    }

    void searchFieldRunsItsBlockAfterEachPress()
    {
        MySearchField field;
        field.show();
        QVERIFY(QTest::qWaitForWindowExposed(&field));
        int runs = 0;
        bool focusedWhenRun = false;
        field.setBecomeFirstResponderBlock([&] {
            ++runs;
            focusedWhenRun = field.hasFocus();
        });
        QTest::mouseClick(&field, Qt::LeftButton);
        QTest::mouseClick(&field, Qt::LeftButton);
        QCOMPARE(runs, 2);
        QVERIFY(focusedWhenRun);
    }

    void grayButtonTitleUsesTheSecondaryColourAt13Pixels()
    {
        GrayButton button;
        button.setFont(QFont(QStringLiteral("Serif"), 30));
        QPalette palette = button.palette();
        palette.setColor(QPalette::ButtonText, Qt::black);
        palette.setColor(QPalette::PlaceholderText, Qt::magenta);
        button.setPalette(palette);
        button.setTitle(QStringLiteral("Clear"));
        QCOMPARE(button.text(), QStringLiteral("Clear"));
        QCOMPARE(button.font().pixelSize(), 13);
        // Some pixel of the title is magenta, none black.
        const QImage image = button.grab().toImage();
        int magenta = 0;
        int black = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor color = image.pixelColor(x, y);
                magenta += color.red() > 200 && color.green() < 60 && color.blue() > 200;
                black += color.red() < 30 && color.green() < 30 && color.blue() < 30;
            }
        }
        QVERIFY(magenta > 0);
        QCOMPARE(black, 0);
    }

    void resizeScalesValidImagesAndReturnsInvalidOnesUnchanged()
    {
        QImage image(40, 20, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QCOMPARE(ImageAdditions::resize(image, QSize(10, 10)).size(), QSize(10, 10));

        QTest::ignoreMessage(QtInfoMsg, "Invalid Image");
        const QImage invalid;
        QVERIFY(ImageAdditions::resize(invalid, QSize(10, 10)).isNull());
    }
};

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
