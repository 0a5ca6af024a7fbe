#include "browser/PreviewPreparation.h"

#include "capture/PasteboardTypes.h"
#include "support/RtfReader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeDatabase>
#include <QStringDecoder>
#include <QTextDocument>
#include <QThread>

namespace {
// A text file longer than this is previewed by its beginning: the preview is a glance, and
// laying out hundreds of megabytes would hold memory for nothing.
constexpr qint64 maxTextFileBytes = 4 * 1024 * 1024;

std::optional<QByteArray> readFile(const QString& path, qint64 limit = -1)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return limit < 0 ? file.readAll() : file.read(limit);
}

// A text type by name over binary content (flat RTFD saved as .rtf, say) is not shown as text.
bool isBinary(const QByteArray& bytes)
{
    constexpr qsizetype sniffed = 4096;
    return !QStringConverter::encodingForData(bytes) && bytes.left(sniffed).contains('\0');
}

QString decodedText(const QByteArray& bytes)
{
    const auto encoding = QStringConverter::encodingForData(bytes);
    QStringDecoder decoder(encoding.value_or(QStringConverter::Utf8));
    return decoder.decode(bytes);
}
} // namespace

std::shared_ptr<QTextDocument> PreviewPreparation::formattedText(const QString& path,
                                                                 const QString& firstType)
{
    const std::optional<QByteArray> bytes = readFile(path);
    if (!bytes)
        return nullptr;
    auto* document = new QTextDocument;
    if (bytes->startsWith("{\\rtf")) {
        document->setHtml(RtfReader::toHtml(*bytes).value_or(QString()));
    } else if (firstType == PasteboardTypes::rtf || firstType == PasteboardTypes::rtfd) {
        delete document;
        return nullptr;
    } else if (firstType == PasteboardTypes::html) {
        // Browsers put HTML on the X11 clipboard in UTF-16 as often as in UTF-8.
        QStringDecoder decoder = QStringDecoder::decoderForHtml(*bytes);
        document->setHtml(decoder.isValid() ? decoder.decode(*bytes) : decodedText(*bytes));
    } else {
        document->setPlainText(decodedText(*bytes));
    }
    return handOver(document);
}

std::shared_ptr<QTextDocument> PreviewPreparation::handOver(QTextDocument* document)
{
    // Made on this pool thread, shown on the GUI thread: the move has to come from here. It is
    // deleted later on the GUI thread, also when its result is dropped.
    document->moveToThread(QCoreApplication::instance()->thread());
    return std::shared_ptr<QTextDocument>(document, [](QTextDocument* d) { d->deleteLater(); });
}

PreparedPreview PreviewPreparation::document(const QString& path, QSize fit)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return fileInfo(path);
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info);
    if (type.inherits(QStringLiteral("application/pdf"))) {
        PreparedPreview prepared;
        prepared.kind = PreparedPreview::Kind::Pdf;
        prepared.path = path;
        return prepared;
    }
    if (type.name().startsWith(QStringLiteral("image/"))) {
        PreparedPreview prepared = image(path, fit);
        if (!prepared.image.isNull())
            return prepared;
    }
    if (type.inherits(QStringLiteral("text/plain")))
        return textFile(path);
    return fileInfo(path);
}

PreparedPreview PreviewPreparation::image(const QString& path, QSize fit)
{
    PreparedPreview prepared;
    prepared.kind = PreparedPreview::Kind::Image;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    prepared.fullSize = reader.size();
    // Readers that can decode at a smaller size (JPEG) do so; the others decode here, on this
    // thread, and scale before anything reaches the GUI thread.
    if (prepared.fullSize.isValid() && !fit.isEmpty() &&
        (prepared.fullSize.width() > fit.width() || prepared.fullSize.height() > fit.height()))
        reader.setScaledSize(prepared.fullSize.scaled(fit, Qt::KeepAspectRatio));
    prepared.image = reader.read();
    return prepared;
}

PreparedPreview PreviewPreparation::textFile(const QString& path)
{
    const std::optional<QByteArray> bytes = readFile(path, maxTextFileBytes);
    if (!bytes || isBinary(*bytes))
        return fileInfo(path);
    auto* document = new QTextDocument;
    document->setPlainText(decodedText(*bytes));
    PreparedPreview prepared;
    prepared.kind = PreparedPreview::Kind::Text;
    prepared.document = handOver(document);
    return prepared;
}

PreparedPreview PreviewPreparation::fileInfo(const QString& path)
{
    const QFileInfo info(path);
    PreparedPreview prepared;
    prepared.path = path;
    prepared.name = info.fileName();
    if (info.isDir()) {
        prepared.typeName = QCoreApplication::translate("PreviewPreparation", "Folder");
        prepared.iconName = QStringLiteral("folder");
        return prepared;
    }
    if (!info.exists())
        return prepared;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info);
    prepared.typeName = type.comment();
    prepared.iconName = type.iconName();
    prepared.size = info.size();
    return prepared;
}
