// Figures for the item preview, each beside a same-run baseline that does the same work on the
// GUI thread the plain way:
//   1 MB HTML text item    [QTextEdit::setHtml + paint on the GUI thread]
//   50-megapixel PNG image [QImageReader full decode + scale to fit on the GUI thread]
//   40 MB plain text item  [the whole file read and shown in a QTextEdit on the GUI thread]
//   200-page PDF file      [QPdfDocument::load + QPdfView paint on the GUI thread]
// "worst stall" is the longest time the GUI thread did not come back to its event loop between
// asking for the preview and half a second after its first paint: what a user feels as a frozen
// window. "peak rise" is how far the process's largest resident size rose above where it was.
#include "../tests/gui/PreviewItems.h"
#include "StallWatch.h"
#include "browser/PreviewPreparation.h"
#include "browser/PreviewViewController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfView>
#include <QPdfWriter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

using namespace PreviewItems;

namespace {
constexpr int repeats = 3;
constexpr QSize paneSize(800, 600);

struct Figures
{
    double wallMs = 0;
    double worstStallMs = 0;
    double peakMb = 0;
};

// The "VmHWM" line of /proc/self/status, in MB; writing 5 to clear_refs starts it afresh.
double peakResidentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return 0;
}

void resetPeakResident()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

// Runs `start`, then the event loop until `done` holds and for `settleMs` after, so that work
// the first paint sets off (a PDF's pages, say) counts too, with a 1 ms heartbeat measuring the
// longest gap between two turns of the event loop. The peak is counted from the resident size
// at the start.
Figures measure(const std::function<void()>& start, const std::function<bool()>& done)
{
    constexpr qint64 settleMs = 500;
    QElapsedTimer wall;
    resetPeakResident();
    const double before = peakResidentMb();
    wall.start();
    StallWatch watch;
    start();
    watch.beat();
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    const double shownMs = wall.nsecsElapsed() / 1e6;
    QElapsedTimer settling;
    settling.start();
    while (settling.elapsed() < settleMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    watch.beat();
    return {shownMs, watch.worstMs(), peakResidentMb() - before};
}

Figures best(const std::function<Figures()>& run)
{
    Figures result{1e300, 1e300, 1e300};
    for (int i = 0; i < repeats; ++i) {
        const Figures f = run();
        result.wallMs = std::min(result.wallMs, f.wallMs);
        result.worstStallMs = std::min(result.worstStallMs, f.worstStallMs);
        result.peakMb = std::min(result.peakMb, f.peakMb);
    }
    return result;
}

void report(const char* name, const Figures& ours, const Figures& baseline)
{
    std::printf("%-28s worst GUI stall %8.2f ms [baseline %8.2f ms]   to shown %8.2f ms "
                "[baseline %8.2f ms]   peak rise %6.1f MB [baseline %6.1f MB]\n",
                name, ours.worstStallMs, baseline.worstStallMs, ours.wallMs, baseline.wallMs,
                ours.peakMb, baseline.peakMb);
}

Figures previewUntilPainted(const PBContentPtr& item)
{
    PreviewViewController preview(nullptr);
    preview.resize(paneSize);
    preview.show();
    QCoreApplication::processEvents();
    QSignalSpy shown(&preview, &PreviewViewController::previewShown);
    return measure([&] { preview.setPreviewContent(item); },
                   [&] {
                       if (shown.isEmpty())
                           return false;
                       preview.grab();
                       return true;
                   });
}

QByteArray megabyteOfHtml()
{
    QByteArray html = "<html><body>";
    for (int i = 0; html.size() < 1024 * 1024; ++i)
        html += "<p>Paragraph " + QByteArray::number(i) +
                " with <b>bold</b>, <i>italic</i> and <a href=\"https://example.org/" +
                QByteArray::number(i) + "\">a link</a> in a table-free copied page.</p>\n";
    return html + "</body></html>";
}

void benchHtml(const QString& folder)
{
    const QByteArray html = megabyteOfHtml();
    const QString path = writeFile(folder + QStringLiteral("/page.html"), html);
    const Figures ours =
        best([&] { return previewUntilPainted(textItem(PasteboardTypes::html, path)); });
    const Figures baseline = best([&] {
        QTextEdit edit;
        edit.resize(paneSize);
        edit.show();
        QCoreApplication::processEvents();
        return measure(
            [&] {
                edit.setHtml(QString::fromUtf8(html));
                edit.grab();
            },
            [] { return true; });
    });
    report("1 MB HTML preview", ours, baseline);
    QElapsedTimer worker;
    worker.start();
    PreviewPreparation::formattedText(path, PasteboardTypes::html);
    std::printf("  of which reading and parsing, off the GUI thread: %.2f ms\n",
                worker.nsecsElapsed() / 1e6);
}

void benchLargePng(const QString& folder)
{
    const QString path = folder + QStringLiteral("/large.png");
    {
        QImage image(8660, 5774, QImage::Format_RGB32); // 50.0 megapixels
        image.fill(Qt::darkCyan);
        QImageWriter writer(path, "png");
        writer.setCompression(1);
        if (!writer.write(image))
            qFatal("cannot write %s", qPrintable(path));
    }
    const Figures ours =
        best([&] { return previewUntilPainted(imageItem(PasteboardTypes::png, path)); });
    const Figures baseline = best([&] {
        return measure(
            [&] {
                QImage image = QImageReader(path).read();
                image = image.scaled(paneSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            },
            [] { return true; });
    });
    report("50-megapixel PNG preview", ours, baseline);
}
void benchHugeText(const QString& folder)
{
    QByteArray text;
    constexpr qsizetype size = 40 * 1024 * 1024;
    text.reserve(size);
    for (int line = 0; text.size() < size; ++line)
        text += "Line " + QByteArray::number(line) +
                " of a copied log, long enough to wrap "
                "once in a narrow pane and to be read by nobody.\n";
    const QString path = writeFile(folder + QStringLiteral("/huge.txt"), text);
    text = QByteArray();
    const Figures ours =
        best([&] { return previewUntilPainted(textItem(PasteboardTypes::string, path)); });
    const Figures baseline = best([&] {
        QTextEdit edit;
        edit.resize(paneSize);
        edit.show();
        QCoreApplication::processEvents();
        return measure(
            [&] {
                QFile file(path);
                if (file.open(QIODevice::ReadOnly))
                    edit.setPlainText(QString::fromUtf8(file.readAll()));
                edit.grab();
            },
            [] { return true; });
    });
    report("40 MB text preview", ours, baseline);
}

void benchLongPdf(const QString& folder)
{
    const QString path = folder + QStringLiteral("/long.pdf");
    {
        QPdfWriter writer(path);
        QPainter painter(&writer);
        for (int page = 0; page < 200; ++page) {
            if (page > 0)
                writer.newPage();
            for (int line = 0; line < 40; ++line)
                painter.drawText(
                    QPointF(200, 300 + line * 250),
                    QStringLiteral("Page %1, line %2 of a long report").arg(page).arg(line));
        }
    }
    const Figures ours = best([&] { return previewUntilPainted(fileItem(path)); });
    const Figures baseline = best([&] {
        QPdfDocument document;
        QPdfView view;
        view.setPageMode(QPdfView::PageMode::MultiPage);
        view.setZoomMode(QPdfView::ZoomMode::FitToWidth);
        view.resize(paneSize);
        view.show();
        QCoreApplication::processEvents();
        return measure(
            [&] {
                document.load(path);
                view.setDocument(&document);
                view.grab();
            },
            [] { return true; });
    });
    report("200-page PDF preview", ours, baseline);
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    benchHtml(folder.path());
    benchLargePng(folder.path());
    benchHugeText(folder.path());
    benchLongPdf(folder.path());
    return 0;
}
