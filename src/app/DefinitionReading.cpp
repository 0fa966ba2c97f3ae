#include "DefinitionReading.h"

#include "document/DisplayFormat.h"
#include "document/ProfileStore.h"

namespace vexa::app {

namespace {

constexpr const char* kTitleKey = "T";
constexpr const char* kEntryStem = "W";

}  // namespace

std::string GraphTitle(int number, const std::string& displayFile)
{
    return profile::ReadString(GraphSectionName(number), kTitleKey, "", displayFile, kTitleCapacity);
}

std::string ViewEntry(int view, int entry, const std::string& displayFile)
{
    return profile::ReadString(ViewSectionName(view), NumberedKey(kEntryStem, entry), "", displayFile,
                               kTitleCapacity);
}

std::string EntryPlacementKey(int entry)
{
    return NumberedKey(kPlacementKey, entry);
}

}  // namespace vexa::app
