// Host tool that renders the application's SVG icon as a square PNG, for the icon theme's
// fixed-size folders (hicolor/NxN/apps): desktops that draw no SVG, and some that do but pick
// the nearest bitmap first, show these.
//   vantrel_iconrender INPUT.svg SIZE OUTPUT.png
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fputs("usage: vantrel_iconrender INPUT.svg SIZE OUTPUT.png\n", stderr);
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    bool ok = false;
    const int size = QByteArray(argv[2]).toInt(&ok);
    if (!renderer.isValid() || !ok || size <= 0) {
        std::fprintf(stderr, "vantrel_iconrender: cannot render %s at size %s\n", argv[1], argv[2]);
        return 1;
    }
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "vantrel_iconrender: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
