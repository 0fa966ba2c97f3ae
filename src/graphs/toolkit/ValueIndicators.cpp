#include "graphs/toolkit/ValueIndicators.h"

#include "graphs/toolkit/Annunciator.h"
#include "graphs/toolkit/ChartContext.h"
#include "graphs/toolkit/ChartText.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/TextElement.h"
#include "graphs/toolkit/ValueTable.h"
#include "graphs/toolkit/XYPlot.h"
#include "platform/AnsiText.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <string_view>

namespace vexa::toolkit {

namespace {

/// The table's heading: bold, a little larger than the table's font, its
/// bottom just above the table.
constexpr double kHeadingScale = 1.3;
constexpr ChartPoint kHeadingPosition{0.5, 0.1};

/// FontForRoom measures at this size and scales from there.
constexpr double kMeasuringPoints = 40.0;
constexpr double kSmallestPoints = 6.0;
constexpr double kLargestPoints = 400.0;
/// Each retry of a font that came out a little too large (hinting does not
/// scale exactly) is this much smaller.
constexpr double kShrinkFactor = 0.94;
constexpr int kShrinkTries = 12;
/// The least difference in brightness (0 ... 255) at which a coloured text
/// reads on a coloured ground.
constexpr double kLeastContrast = 90.0;

}  // namespace

XYPlot* CreateXYPlot(ChartWindow& chart, RealTimeDataset& dataset, const XYPlotStyle& style)
{
    return chart.addElement<XYPlot>(dataset, kXYPlotPoints, style.traceWidth, style.traceColour, style.markWidth,
                                    style.markColour);
}

ValueTable* CreateValueTable(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset,
                             std::span<const PaletteIndex> colours, const std::vector<std::string>& rowTexts,
                             AlarmText alarmText, std::array<IndicatorPart, kValueTableParts>& parts)
{
    std::vector<QString> texts;
    texts.reserve(rowTexts.size());
    for (const std::string& text : rowTexts) {
        texts.push_back(SlotText(text));
    }
    auto* table = chart.addElement<ValueTable>(dataset, std::vector<PaletteIndex>(colours.begin(), colours.end()),
                                               std::move(texts), alarmText == AlarmText::Shown, context.font);
    QFont headingFont = context.font;
    headingFont.setBold(true);
    if (headingFont.pointSizeF() > 0.0) {
        headingFont.setPointSizeF(headingFont.pointSizeF() * kHeadingScale);
    }
    parts = {};
    parts[kTableHeadingPart].text =
        chart.addElement<TextElement>(SlotText(dataset.name()), kHeadingPosition, Justification::Centre, headingFont,
                                      PaletteColour(context.fontColour));
    parts[kTableAlarmPart].alarm = &table->alarmPart();
    return table;
}

Annunciator* CreateAnnunciator(ChartWindow& chart, ChartContext& context, RealTimeDataset& dataset,
                               std::span<const PaletteIndex> dataColours, std::span<const QColor> cellColours,
                               const LampAlarmColours& alarmColours, const LampGrid& grid, AlarmText alarmText)
{
    return chart.addElement<Annunciator>(dataset, grid.rows, grid.columns,
                                         std::vector<PaletteIndex>(dataColours.begin(), dataColours.end()),
                                         std::vector<QColor>(cellColours.begin(), cellColours.end()), alarmColours.low,
                                         alarmColours.high, alarmText == AlarmText::Shown, context.font,
                                         PaletteColour(context.fontColour), LinePen(context.line));
}

QString FormatValue(double value, int decimals)
{
    if (std::isnan(value)) {
        return QStringLiteral("NaN");
    }
    if (std::isinf(value)) {
        return value > 0 ? QStringLiteral("Inf") : QStringLiteral("-Inf");
    }
    return QString::number(value, 'f', decimals);
}

QString SlotText(const std::string& text)
{
    return FromAnsi(std::string_view(text.c_str())).trimmed();
}

QString ChannelName(const RealTimeDataset& dataset, int channel)
{
    const std::vector<std::string>& names = dataset.channelNames();
    if (channel < 0 || static_cast<std::size_t>(channel) >= names.size()) {
        return {};
    }
    return SlotText(names[static_cast<std::size_t>(channel)]);
}

QFont FontForRoom(const QFont& font, const std::vector<QString>& texts, const QSizeF& room)
{
    QFont sized = font;
    sized.setPointSizeF(kMeasuringPoints);
    const auto fits = [&](const QFont& candidate) {
        if (QFontMetricsF(candidate).height() > room.height()) {
            return false;
        }
        return std::all_of(texts.begin(), texts.end(),
                           [&](const QString& text) { return TextAdvance(candidate, text) <= room.width(); });
    };
    // Text grows nearly in proportion to its size: scale from one
    // measurement, then correct for what hinting adds.
    double scale = room.height() / QFontMetricsF(sized).height();
    for (const QString& text : texts) {
        const double advance = TextAdvance(sized, text);
        if (advance > 0.0) {
            scale = std::min(scale, room.width() / advance);
        }
    }
    double points = std::clamp(kMeasuringPoints * scale, kSmallestPoints, kLargestPoints);
    sized.setPointSizeF(points);
    for (int tries = 0; tries < kShrinkTries && points > kSmallestPoints && !fits(sized); ++tries) {
        points = std::max(points * kShrinkFactor, kSmallestPoints);
        sized.setPointSizeF(points);
    }
    return sized;
}

bool HasContrast(const QColor& colour, const QColor& background)
{
    return std::abs(Luminance(colour) - Luminance(background)) >= kLeastContrast;
}

}  // namespace vexa::toolkit
