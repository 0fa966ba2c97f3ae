#pragma once

#include <string>
#include <string_view>
#include <vector>

/// Operations that keep the numbering of graph and view sections dense and
/// the views' references to graph titles consistent.
namespace vexa {

/// Titles are cut to this length before "(n)" is appended to a duplicate.
inline constexpr std::size_t kDuplicateTitleStem = 95;

/// Copies every key of \p source, with its whole value, into \p destination.
/// True when the source had at least one key.
bool CopySection(std::string_view source, std::string_view destination, const std::string& file);

/// Moves the sections prefix+first, prefix+(first+1), … down by one number,
/// up to the first section that does not exist. Called after prefix+(first-1)
/// was deleted.
void RenumberAfterDelete(char prefix, int first, const std::string& file);

/// True when no entry of \p titles other than the one at \p skipIndex
/// (0-based; -1 skips none) equals \p candidate exactly.
bool TitleIsUnique(std::string_view candidate, const std::vector<std::string>& titles, int skipIndex);

/// A title is valid when it is non-empty and unique.
bool TitleIsValid(std::string_view candidate, const std::vector<std::string>& titles, int skipIndex);

/// The titles `T` of prefix+1, prefix+2, … up to the first one that is absent
/// or empty (at most \p limit; 0 for no limit): the definitions an editor lists.
std::vector<std::string> ReadDefinitionTitles(char prefix, const std::string& file, int limit = 0);

/// The title `T` of graph \p number (1-based), or empty.
std::string GraphTitle(int number, const std::string& file);

/// Entry `W`\p entry of view \p view (both 1-based): the title of the graph
/// it names, or empty.
std::string ViewEntry(int view, int entry, const std::string& file);

/// Appends a copy of definition \p number (1-based) of the list \p titles as
/// the new last definition, titled with the first free "title(n)" (the title
/// cut to 95 characters). Returns the new definition's number, or 0 when the
/// source section was empty.
int DuplicateDefinition(char prefix, int number, const std::vector<std::string>& titles,
                        const std::string& file);

/// Deletes every view entry `W`k that names \p graphTitle, together with its
/// placement `R`k, and closes the gap so that each view's entries stay dense
/// from W1. All 60 entry numbers are looked at.
void RemoveGraphFromViews(std::string_view graphTitle, const std::string& file);

/// Rewrites every view entry that names \p oldTitle with \p newTitle.
void RenameGraphInViews(std::string_view oldTitle, std::string_view newTitle, const std::string& file);

/// Deletes graph \p number: removes it from every view by its title, deletes
/// its section and moves the later graphs down.
void DeleteGraph(int number, const std::string& file);

/// Deletes view \p number and moves the later views down.
void DeleteView(int number, const std::string& file);

}  // namespace vexa
