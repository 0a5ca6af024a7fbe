#include "support/StringAdditions.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>

namespace {
// Matched against the whole text. The leading \b always holds there, since the text must start
// with the letter h; \d stays ASCII because Unicode properties are not enabled.
const QString urlPattern = QStringLiteral(
    R"(\bhttps?://[a-zA-Z0-9\-.]+(?::(\d+))?(?:(?:/[a-zA-Z0-9\-._?,'+\&%$=~*!():@\\]*)+)?)");

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
} // namespace

bool StringAdditions::isUrl(const QString& text)
{
    static const QRegularExpression expression(QRegularExpression::anchoredPattern(urlPattern));
    if (text.isEmpty())
        return false;
    const QString www = QStringLiteral("www.");
    const QString tested =
        text.size() > www.size() && text.startsWith(www) ? QStringLiteral("http://") + text : text;
    return expression.match(tested).hasMatch();
}

std::optional<QString> StringAdditions::decodeString(const QString& text)
{
    const QByteArray encoded = text.toUtf8();
    QByteArray decoded;
    decoded.reserve(encoded.size());
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != '%') {
            decoded.append(encoded[i]);
            continue;
        }
        if (i + 2 >= encoded.size())
            return std::nullopt;
        const int high = hexValue(encoded[i + 1]);
        const int low = hexValue(encoded[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        decoded.append(char(high * 16 + low));
        i += 2;
    }
    return decodeUtf8(decoded);
}

std::optional<QString> StringAdditions::decodeUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString result = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    // No bytes decode to a null string; the result is an empty text, not an absent one.
    return result.isNull() ? QStringLiteral("") : result;
}

QString StringAdditions::stringWithSize(qint64 size)
{
    if (size < (qint64(1) << 10))
        return QStringLiteral("%1 B").arg(size);
    if (size < (qint64(1) << 20))
        return QStringLiteral("%1 KB").arg(size >> 10);
    if (size < (qint64(1) << 30))
        return QStringLiteral("%1 MB").arg(size >> 20);
    if (size < (qint64(1) << 40))
        return QStringLiteral("%1 GB").arg(size >> 30);
    return QStringLiteral("");
}

QString StringAdditions::stringWithDate(double date, const Clock& clock)
{
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(qint64(clock.now() * 1000));
    const QDateTime then = QDateTime::fromMSecsSinceEpoch(qint64(date * 1000));
    const QDate day = then.date();
    const QTime time = then.time();
    const QString clockTime = QStringLiteral("%1:%2")
                                  .arg(time.hour(), 2, 10, QLatin1Char('0'))
                                  .arg(time.minute(), 2, 10, QLatin1Char('0'));
    if (day.year() != now.date().year())
        return QStringLiteral("%1-%2-%3  %4")
            .arg(day.year())
            .arg(day.month())
            .arg(day.day())
            .arg(clockTime);
    if (day.month() != now.date().month() || day.day() != now.date().day())
        return QStringLiteral("%1-%2  %3").arg(day.month()).arg(day.day()).arg(clockTime);
    // A time later today (a clock set back) reads like one just taken, as it does within the hour.
    const int hours = now.time().hour() - time.hour();
    if (hours >= 1)
        return QCoreApplication::translate("StringAdditions", "%n hours ago", nullptr, hours);
    const int minutes = hours == 0 ? std::max(now.time().minute() - time.minute(), 1) : 1;
    return QCoreApplication::translate("StringAdditions", "%n minutes ago", nullptr, minutes);
}
