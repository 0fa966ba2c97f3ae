#include "server/replay/ReplayTime.h"

#include <QDateTime>

#include <charconv>
#include <cmath>

namespace vexa::server {

namespace {

constexpr double kMillisecondsPerSecond = 1000.0;
/// "YYYY-MM-DD": the shortest ISO 8601 text read, a date alone.
constexpr qsizetype kDateLength = 10;

/// The whole of \p text as a finite number, or nullopt.
std::optional<double> PlainNumber(std::string_view text)
{
    double number = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (error != std::errc() || stop != end || !std::isfinite(number))
        return std::nullopt;
    return number;
}

}  // namespace

std::optional<double> ParseAbsoluteTime(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;
    if (const std::optional<double> seconds = PlainNumber(text))
        return seconds;
    QString iso = QString::fromUtf8(text.data(), qsizetype(text.size()));
    if (iso.size() > kDateLength && iso[kDateLength] == QLatin1Char(' '))
        iso[kDateLength] = QLatin1Char('T');
    const QDateTime when = QDateTime::fromString(iso, Qt::ISODateWithMs);
    if (!when.isValid())
        return std::nullopt;
    return double(when.toMSecsSinceEpoch()) / kMillisecondsPerSecond;
}

std::optional<TimeArgument> ParseTimeArgument(QStringView text)
{
    const QByteArray bytes = text.trimmed().toUtf8();
    const std::string_view view(bytes.constData(), std::size_t(bytes.size()));
    if (!view.empty() && view.front() == '+') {
        const std::optional<double> offset = PlainNumber(view.substr(1));
        if (!offset.has_value() || *offset < 0.0)
            return std::nullopt;
        return TimeArgument{*offset, true};
    }
    const std::optional<double> seconds = ParseAbsoluteTime(view);
    if (!seconds.has_value())
        return std::nullopt;
    return TimeArgument{*seconds, false};
}

std::optional<TimeRange> ResolveRange(double first, double last, const std::optional<TimeArgument>& from,
                                      const std::optional<TimeArgument>& to, QString& error)
{
    TimeRange range{from.has_value() ? from->resolve(first) : first, to.has_value() ? to->resolve(first) : last};
    if (range.from > last || range.to < first) {
        error = QStringLiteral("nothing is stored from %1 to %2; the file runs from %3 to %4")
                    .arg(TimeText(range.from), TimeText(range.to), TimeText(first), TimeText(last));
        return std::nullopt;
    }
    if (range.from > range.to) {
        error = QStringLiteral("the start %1 is after the end %2").arg(TimeText(range.from), TimeText(range.to));
        return std::nullopt;
    }
    range.from = std::max(range.from, first);
    range.to = std::min(range.to, last);
    return range;
}

QString TimeText(double seconds)
{
    const auto milliseconds = qint64(std::llround(seconds * kMillisecondsPerSecond));
    return QDateTime::fromMSecsSinceEpoch(milliseconds).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

}  // namespace vexa::server
