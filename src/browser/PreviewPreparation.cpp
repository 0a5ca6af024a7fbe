#include "browser/PreviewPreparation.h"

#include "platform/PasteboardTypes.h"
#include "support/RtfReader.h"
#include "support/StringAdditions.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeDatabase>
#include <QPdfDocument>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>

namespace {
constexpr qreal cutNoteGap = 12;

// The beginning of a file, up to the preview's bound, and the file's whole size.
struct Beginning
{
    QByteArray bytes;
    qint64 size = 0;
    bool isCut() const { return size > bytes.size(); }
};

std::optional<Beginning> readBeginning(const QString& path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    Beginning beginning;
    beginning.size = file.size();
    beginning.bytes = file.read(PreviewPreparation::previewBytes);
    return beginning;
}

// Plain text in UTF-8 or an 8-bit encoding cut after its previewLines-th line (in UTF-16 or
// UTF-32 a line's end is not one byte, and such text is left to the byte bound).
void cutAtLines(Beginning& beginning)
{
    const auto encoding = QStringConverter::encodingForData(beginning.bytes);
    if (encoding && *encoding != QStringConverter::Utf8)
        return;
    qsizetype end = -1;
    for (int line = 0; line < PreviewPreparation::previewLines; ++line) {
        end = beginning.bytes.indexOf('\n', end + 1);
        if (end < 0)
            return;
    }
    beginning.bytes.truncate(end + 1);
}

// A last paragraph saying how much of the file is shown, set apart from the text.
void appendCutNote(QTextDocument& document, const Beginning& beginning)
{
    if (!beginning.isCut())
        return;
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    QTextBlockFormat block;
    block.setTopMargin(cutNoteGap);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    cursor.insertBlock(block, italic);
    cursor.insertText(PreviewPreparation::cutNote(beginning.bytes.size(), beginning.size), italic);
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

QString PreviewPreparation::cutNote(qint64 shown, qint64 size)
{
    return QCoreApplication::translate("PreviewPreparation",
                                       "Only the first %1 of %2 are shown; the rest is not.")
        .arg(StringAdditions::stringWithSize(shown), StringAdditions::stringWithSize(size));
}

std::shared_ptr<QTextDocument> PreviewPreparation::formattedText(const QString& path,
                                                                 const QString& firstType)
{
    std::optional<Beginning> beginning = readBeginning(path);
    const std::optional<QString> rtf =
        beginning ? RtfReader::toHtml(beginning->bytes) : std::nullopt;
    if (!beginning ||
        (!rtf && (firstType == PasteboardTypes::rtf || firstType == PasteboardTypes::rtfd)))
        return nullptr;
    auto document = std::make_unique<QTextDocument>();
    if (rtf) {
        document->setHtml(*rtf);
    } else if (firstType == PasteboardTypes::html) {
        // Browsers put HTML on the X11 clipboard in UTF-16 as often as in UTF-8.
        const QByteArray& bytes = beginning->bytes;
        QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
        document->setHtml(decoder.isValid() ? decoder.decode(bytes) : decodedText(bytes));
    } else {
        cutAtLines(*beginning);
        document->setPlainText(decodedText(beginning->bytes));
    }
    appendCutNote(*document, *beginning);
    return handOver(std::move(document));
}

template <class Document>
std::shared_ptr<Document> PreviewPreparation::handOver(std::unique_ptr<Document> document)
{
    // Made on this pool thread, shown on the GUI thread: the move has to come from here. It is
    // deleted later on the GUI thread, also when its result is dropped.
    document->moveToThread(QCoreApplication::instance()->thread());
    return std::shared_ptr<Document>(document.release(), [](Document* d) { d->deleteLater(); });
}

PreparedPreview PreviewPreparation::document(const QString& path, QSize fit)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return fileInfo(path);
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info);
    if (type.inherits(QStringLiteral("application/pdf")))
        return pdf(path);
    if (type.name().startsWith(QStringLiteral("image/"))) {
        PreparedPreview prepared = image(path, fit);
        if (!prepared.image.isNull())
            return prepared;
    }
    if (type.inherits(QStringLiteral("text/plain")))
        return textFile(path);
    return fileInfo(path);
}

// Opened here, where reading a long document's structure stalls nothing; a damaged PDF shows
// what any other file shows rather than an empty page.
PreparedPreview PreviewPreparation::pdf(const QString& path)
{
    auto document = std::make_unique<QPdfDocument>();
    if (document->load(path) != QPdfDocument::Error::None)
        return fileInfo(path);
    PreparedPreview prepared;
    prepared.kind = PreparedPreview::Kind::Pdf;
    prepared.path = path;
    prepared.pdf = handOver(std::move(document));
    return prepared;
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
    std::optional<Beginning> beginning = readBeginning(path);
    if (!beginning || isBinary(beginning->bytes))
        return fileInfo(path);
    cutAtLines(*beginning);
    auto document = std::make_unique<QTextDocument>();
    document->setPlainText(decodedText(beginning->bytes));
    appendCutNote(*document, *beginning);
    PreparedPreview prepared;
    prepared.kind = PreparedPreview::Kind::Text;
    prepared.document = handOver(std::move(document));
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
