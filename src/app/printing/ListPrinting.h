#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <vector>

class QPainter;

namespace vexa::app::printing {

class PrintSession;

/// The narrowest column, in average character widths.
inline constexpr int kLeastColumnCharacters = 9;

/// The tab stops of \p firstLine in average character widths, cumulative:
/// each column a tab ends is its characters plus one wide, but at least
/// kLeastColumnCharacters. No tab, no stops.
std::vector<int> ListTabStops(const QString& firstLine);

/// Prints \p lines (tab-separated columns) on pages of \p session in
/// \p font: \p caption centred at the top of each page, the lines below it
/// at the tab stops of the first line, and "Page %d" under the last line of
/// each full page; the last page's number sits one line above its bottom
/// edge. False when the job had to end (the failure is reported).
bool PrintListPages(PrintSession& session, const QString& caption, const QStringList& lines, const QFont& font);

}  // namespace vexa::app::printing
