#include "Definitions.h"

#include "DisplayFormat.h"
#include "ProfileStore.h"
#include "ProfileWriteBatch.h"

#include <algorithm>

namespace vexa {

namespace {


bool SectionExists(std::string_view section, const std::string& file)
{
    return !profile::ListKeys(section, file).empty();
}

// Calls visit(view section) for V1, V2, … up to the first view that does not exist.
template <typename Visit>
void ForEachView(const std::string& file, Visit visit)
{
    for (int view = 1;; ++view) {
        const std::string section = ViewSectionName(view);
        if (!SectionExists(section, file))
            return;
        visit(section);
    }
}

}  // namespace

bool CopySection(std::string_view source, std::string_view destination, const std::string& file)
{
    const ProfileWriteBatch batch(file);
    const std::vector<std::string> keys = profile::ListKeys(source, file);
    for (const std::string& key : keys)
        profile::WriteString(destination, key, profile::ReadString(source, key, "", file), file);
    return !keys.empty();
}

void RenumberAfterDelete(char prefix, int first, const std::string& file)
{
    const ProfileWriteBatch batch(file);
    for (int number = std::max(first, 2);; ++number) {
        const std::string section = SectionName(prefix, number);
        if (!CopySection(section, SectionName(prefix, number - 1), file))
            return;
        profile::DeleteSection(section, file);
    }
}

bool TitleIsUnique(std::string_view candidate, const std::vector<std::string>& titles, int skipIndex)
{
    for (std::size_t i = 0; i < titles.size(); ++i) {
        if (static_cast<int>(i) != skipIndex && titles[i] == candidate)
            return false;
    }
    return true;
}

bool TitleIsValid(std::string_view candidate, const std::vector<std::string>& titles, int skipIndex)
{
    return !candidate.empty() && TitleIsUnique(candidate, titles, skipIndex);
}

std::string GraphTitle(int number, const std::string& file)
{
    return profile::ReadString(GraphSectionName(number), kTitleKey, "", file, kTitleCapacity);
}

std::string ViewEntry(int view, int entry, const std::string& file)
{
    return profile::ReadString(ViewSectionName(view), NumberedKey(kViewEntryKeyStem, entry), "", file,
                               kTitleCapacity);
}

std::vector<std::string> ReadDefinitionTitles(char prefix, const std::string& file, int limit)
{
    std::vector<std::string> titles;
    for (int number = 1; limit == 0 || number <= limit; ++number) {
        std::string title = profile::ReadString(SectionName(prefix, number), kTitleKey, "", file,
                                                kTitleCapacity);
        if (title.empty())
            break;
        titles.push_back(std::move(title));
    }
    return titles;
}

int DuplicateDefinition(char prefix, int number, const std::vector<std::string>& titles,
                        const std::string& file)
{
    const ProfileWriteBatch batch(file);
    if (number < 1 || number > static_cast<int>(titles.size()))
        return 0;
    const int copy = static_cast<int>(titles.size()) + 1;
    const std::string copySection = SectionName(prefix, copy);
    if (!CopySection(SectionName(prefix, number), copySection, file))
        return 0;
    const std::string stem = titles[number - 1].substr(0, kDuplicateTitleStem);
    for (int n = 1;; ++n) {
        const std::string candidate = stem + "(" + std::to_string(n) + ")";
        if (TitleIsUnique(candidate, titles, -1)) {
            profile::WriteString(copySection, kTitleKey, candidate, file);
            return copy;
        }
    }
}

void RemoveGraphFromViews(std::string_view graphTitle, const std::string& file)
{
    const ProfileWriteBatch batch(file);
    ForEachView(file, [&](const std::string& view) {
        // Compact the entries that remain, each with its placement, so that the
        // readers that stop at the first gap still see all of them.
        int kept = 0;
        for (int k = 1; k <= kMaxGraphsPerView; ++k) {
            const std::string entryKey = NumberedKey("W", k);
            const std::string placementKey = NumberedKey("R", k);
            const std::string entry = profile::ReadString(view, entryKey, "", file);
            if (entry.empty())
                continue;
            if (entry == graphTitle) {
                profile::DeleteKey(view, entryKey, file);
                profile::DeleteKey(view, placementKey, file);
                continue;
            }
            ++kept;
            if (kept == k)
                continue;
            const std::string placement = profile::ReadString(view, placementKey, "", file);
            profile::WriteString(view, NumberedKey("W", kept), entry, file);
            profile::DeleteKey(view, NumberedKey("R", kept), file);
            if (!placement.empty())
                profile::WriteString(view, NumberedKey("R", kept), placement, file);
            profile::DeleteKey(view, entryKey, file);
            profile::DeleteKey(view, placementKey, file);
        }
    });
}

void RenameGraphInViews(std::string_view oldTitle, std::string_view newTitle, const std::string& file)
{
    const ProfileWriteBatch batch(file);
    ForEachView(file, [&](const std::string& view) {
        for (int k = 1; k <= kMaxGraphsPerView; ++k) {
            const std::string entryKey = NumberedKey("W", k);
            if (profile::ReadString(view, entryKey, "", file) == oldTitle)
                profile::WriteString(view, entryKey, newTitle, file);
        }
    });
}

void DeleteGraph(int number, const std::string& file)
{
    const ProfileWriteBatch batch(file);
    const std::string section = GraphSectionName(number);
    const std::string title = profile::ReadString(section, kTitleKey, "", file, kTitleCapacity);
    if (!title.empty())
        RemoveGraphFromViews(title, file);
    profile::DeleteSection(section, file);
    RenumberAfterDelete(kGraphPrefix, number + 1, file);
}

void DeleteView(int number, const std::string& file)
{
    const ProfileWriteBatch batch(file);
    profile::DeleteSection(ViewSectionName(number), file);
    RenumberAfterDelete(kViewPrefix, number + 1, file);
}

}  // namespace vexa
