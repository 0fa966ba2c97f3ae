#pragma once

#include <string>

/// The keys of the display file that the menus and the Window commands
/// read: graph titles, view entries and placements.
namespace vexa::app {

/// `R` of a graph section, `R`k of a view: where a window opens.
inline constexpr const char* kPlacementKey = "R";

/// The title `T` of graph \p number (1-based), or empty.
std::string GraphTitle(int number, const std::string& displayFile);

/// Entry `W`\p entry of view \p view: the title of the graph it names, or
/// empty.
std::string ViewEntry(int view, int entry, const std::string& displayFile);

/// `R`\p entry: the placement key of view entry \p entry.
std::string EntryPlacementKey(int entry);

}  // namespace vexa::app
