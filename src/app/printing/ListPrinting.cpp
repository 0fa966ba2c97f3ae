#include "ListPrinting.h"

#include "app/printing/PrintSession.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vexa::app::printing {

namespace {

constexpr QLatin1StringView kFooterFormat{"Page %1"};
/// Tabs past the last stop advance by this many average characters.
constexpr int kExtraTabCharacters = 8;

/// The x of the column after text ending at \p end: the first stop past it.
qreal NextStop(qreal end, const std::vector<qreal>& stops)
{
    for (const qreal stop : stops) {
        if (stop > end)
            return stop;
    }
    const qreal last = stops.empty() ? 0.0 : stops.back();
    const qreal step = kExtraTabCharacters * (stops.empty() ? 1.0 : stops.front() / kLeastColumnCharacters);
    return last + std::floor((end - last) / step + 1.0) * step;
}

/// Draws \p line with its top at \p top, its columns at \p stops.
void DrawTabbedLine(QPainter& painter, const QString& line, qreal top, const std::vector<qreal>& stops,
                    const QFontMetricsF& metrics)
{
    qreal x = 0.0;
    const QStringList columns = line.split(QLatin1Char('\t'));
    for (qsizetype index = 0; index < columns.size(); ++index) {
        if (index > 0)
            x = NextStop(x, stops);
        painter.drawText(QPointF(x, top + metrics.ascent()), columns.at(index));
        x += metrics.horizontalAdvance(columns.at(index));
    }
}

void DrawCentred(QPainter& painter, const QString& text, qreal top, qreal pageWidth, const QFontMetricsF& metrics)
{
    const qreal width = metrics.horizontalAdvance(text);
    painter.drawText(QPointF((pageWidth - width) / 2.0, top + metrics.ascent()), text);
}

}  // namespace

std::vector<int> ListTabStops(const QString& firstLine)
{
    std::vector<int> stops;
    int characters = 0;
    int position = 0;
    for (const QChar character : firstLine) {
        if (character == QLatin1Char('\t')) {
            position += std::max(characters + 1, kLeastColumnCharacters);
            stops.push_back(position);
            characters = 0;
        } else {
            ++characters;
        }
    }
    return stops;
}

bool PrintListPages(PrintSession& session, const QString& caption, const QStringList& lines, const QFont& font)
{
    QPainter& painter = session.painter();
    const QPaintDevice& device = *painter.device();
    const QFont printerFont(font, &device);
    painter.setFont(printerFont);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(printerFont, &device);
    const qreal lineHeight = metrics.height() + metrics.leading();
    const qreal pageWidth = device.width();
    const qreal pageHeight = device.height();
    const qreal average = metrics.averageCharWidth();

    std::vector<qreal> stops;
    for (const int stop : ListTabStops(lines.isEmpty() ? QString() : lines.first()))
        stops.push_back(stop * average);

    int page = 0;
    bool pageOpen = false;
    qreal top = 0.0;
    for (const QString& line : lines) {
        if (!pageOpen) {
            if (!session.beginPage())
                return false;
            ++page;
            pageOpen = true;
            DrawCentred(painter, caption, 0.0, pageWidth, metrics);
            top = lineHeight + lineHeight;  // one caption height, one line
        }
        DrawTabbedLine(painter, line, top, stops, metrics);
        top += lineHeight;
        if (top > pageHeight - 2 * lineHeight) {
            DrawCentred(painter, QString(kFooterFormat).arg(page), top, pageWidth, metrics);
            session.endPage();
            pageOpen = false;
        }
    }
    if (pageOpen) {
        DrawCentred(painter, QString(kFooterFormat).arg(page), pageHeight - lineHeight, pageWidth, metrics);
        session.endPage();
    }
    return true;
}

}  // namespace vexa::app::printing
