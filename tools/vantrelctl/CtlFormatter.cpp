#include "CtlFormatter.h"

#include "support/ChannelMessages.h"
#include "support/MessageChannelWormhole.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <cmath>

namespace {
// Beyond some hundred thousand years either way a date is garbage, and converting it to
// milliseconds would overflow.
constexpr double LargestPlausibleSeconds = 1e13;

QString line(const QString& text)
{
    return text + u'\n';
}
} // namespace

QString CtlFormatter::summaryLine(const QJsonObject& summary)
{
    const QStringList fields = {
        fieldText(summary.value(ChannelMessages::SummaryKeys::uuid).toString()),
        dateText(summary.value(ChannelMessages::SummaryKeys::date)),
        fieldText(summary.value(ChannelMessages::SummaryKeys::app).toString()),
        fieldText(summary.value(ChannelMessages::SummaryKeys::desc).toString()),
    };
    return fields.join(u'\t');
}

QString CtlFormatter::summaryLines(const QJsonValue& payload, const QString& prefix)
{
    if (payload.isObject())
        return line(prefix + summaryLine(payload.toObject()));
    QString lines;
    const QJsonArray list = payload.toArray();
    for (const QJsonValue& element : list) {
        if (element.isObject())
            lines += line(prefix + summaryLine(element.toObject()));
    }
    return lines;
}

QString CtlFormatter::jsonLine(const std::optional<QJsonValue>& payload)
{
    const std::optional<QByteArray> text =
        payload ? MessageChannelWormhole::encodeMessage(*payload) : std::nullopt;
    return line(text ? QString::fromUtf8(*text) : QStringLiteral("null"));
}

QString CtlFormatter::watchLines(const QString& identifier,
                                 const std::optional<QJsonValue>& payload, bool json)
{
    if (json) {
        const QJsonObject entry = {{QLatin1String("identifier"), identifier},
                                   {QLatin1String("message"), payload.value_or(QJsonValue())}};
        return line(QString::fromUtf8(QJsonDocument(entry).toJson(QJsonDocument::Compact)));
    }
    const QString name = fieldText(identifier);
    const QString lines =
        carriesSummaries(identifier) && payload ? summaryLines(*payload, name + u'\t') : QString();
    return lines.isEmpty() ? line(name) : lines;
}

bool CtlFormatter::carriesSummaries(const QString& identifier)
{
    return identifier == ChannelMessages::inserted || identifier == ChannelMessages::deleted ||
           identifier == ChannelMessages::marked;
}

QString CtlFormatter::dateText(const QJsonValue& seconds)
{
    const double value = seconds.toDouble(NAN);
    if (!std::isfinite(value) || std::fabs(value) > LargestPlausibleSeconds)
        return QString();
    const QDateTime local =
        QDateTime::fromMSecsSinceEpoch(std::llround(value * 1000), Qt::LocalTime);
    // Qt writes local time without its offset; a fixed-offset copy carries it.
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate);
}

QString CtlFormatter::fieldText(const QString& text)
{
    QString result = text;
    result.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (QChar& c : result) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return result;
}
