#include "controls/HighlightButton.h"
#include "controls/MySearchField.h"
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

        QTest::newRow("TemplateButton") << QStringLiteral("TemplateButton");
        QTest::newRow("HighlightButton") << QStringLiteral("HighlightButton");
    }

    void buttonImagesFollowThePalette()
    {
        QFETCH(QString, kind);

        std::unique_ptr<TemplateButton> button = makeButton(kind);
        button->setPalette(paletteWithText(Qt::red));
        button->setImage(greenSquare());
        button->setIconSize(QSize(24, 24));
        button->resize(32, 32);
        QCOMPARE(imageColor(*button), QColor(Qt::red));

        // A new theme: the image is drawn again in its text colour.
        button->setPalette(paletteWithText(Qt::blue));
        QCOMPARE(imageColor(*button), QColor(Qt::blue));
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

    // The clear button shows while there is text, and clearing is an edit of the user's (the
    // windows search on edits).
    void searchFieldClearsAsAnEdit()
    {
        MySearchField field;
        field.show();
        QAction* clear = nullptr;
        for (QAction* action : field.actions())
            clear = action->text() == QLatin1String("Clear search") ? action : clear;
        QVERIFY(clear);
        QVERIFY(!clear->isVisible());
        QTest::keyClicks(&field, QStringLiteral("abc"));
        QVERIFY(clear->isVisible());

        QSignalSpy edited(&field, &QLineEdit::textEdited);
        clear->trigger();
        QCOMPARE(field.text(), QString());
        QCOMPARE(edited.count(), 1);
        QVERIFY(!clear->isVisible());
    }
};

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
