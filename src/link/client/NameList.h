#pragma once

#include "link/protocol/LayoutBlock.h"

#include <QStringList>

#include <string>

class QListWidget;
class QWidget;

/// The measurement name list: the names part of the display program's layout
/// block, grown as graphs and views are opened, and emptied when a display
/// file is loaded or the last graph window closes.
namespace vexa::link {

/// The most names the list accepts (the block has room for one more).
inline constexpr int kMaxListNames = 479;

/// What adding names did.
enum NamesAdded : int {
    kNamesFull = -1,  ///< the list was full; the graph or view does not open
    kNoNewNames = 0,
    kNamesGrew = 1,
};

/// Clears the whole block and puts \p measurementPath (cut at 259
/// characters) into its path.
void ResetNameList(LayoutBlock& layout, const std::string& measurementPath);

/// Adds the names of graph section "W<graphNumber>" of \p displayFile (keys
/// M1 to M8, up to the first empty one) that are not yet in the list.
NamesAdded AddGraphNames(QWidget* owner, LayoutBlock& layout, int graphNumber, const std::string& displayFile);

/// Adds the names of every graph that view "V<viewNumber>" names.
NamesAdded AddViewNames(QWidget* owner, LayoutBlock& layout, int viewNumber, const std::string& displayFile);

/// The number (1 to 60) of the first graph section whose title equals
/// \p title exactly, or 0.
int FindGraphByTitle(const std::string& title, const std::string& displayFile);

/// The position of \p name in the list, or -1.
int NameIndex(const LayoutBlock& layout, const QByteArray& name);

/// Every section name of the measurement file \p mvxFile, in file order. When
/// they overflow the room kept for them, the warning "Too many names ..." is
/// shown and the names that fitted are given.
QStringList ReadNamesFromMvx(QWidget* owner, const std::string& mvxFile);

/// Fills \p list with ReadNamesFromMvx().
void LoadNamesFromMvx(QListWidget& list, const std::string& mvxFile);

}  // namespace vexa::link
