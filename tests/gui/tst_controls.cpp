#include "controls/HighlightButton.h"
#include "controls/HighlightButton_NoTemplate.h"
#include "controls/ImageAdditions.h"
#include "controls/TemplateButton.h"
#include "controls/TemplateImage.h"

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
    if (kind == QLatin1String("HighlightButton"))
        return std::make_unique<HighlightButton>();
    if (kind == QLatin1String("HighlightButton_NoTemplate"))
        return std::make_unique<HighlightButton_NoTemplate>();
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

    void resizeScalesValidImagesAndReturnsInvalidOnesUnchanged()
    {
        QImage image(40, 20, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QCOMPARE(ImageAdditions::resize(image, QSize(10, 10)).size(), QSize(10, 10));
        QTest::ignoreMessage(QtInfoMsg, "Invalid Image");
        QVERIFY(ImageAdditions::resize(QImage(), QSize(10, 10)).isNull());
    }
};

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
