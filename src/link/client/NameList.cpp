#include "NameList.h"

#include "document/Definitions.h"
#include "document/DisplayFormat.h"
#include "document/ProfileStore.h"
#include "link/protocol/WireFormat.h"
#include "platform/AnsiText.h"
#include "platform/Messages.h"

#include <QListWidget>
#include <QWidget>

#include <algorithm>
#include <cstddef>

namespace vexa::link {

namespace {


constexpr const char* kListFullText = "Unable to add more measurement names to list";
constexpr const char* kListFullCaption = "Maximum Number Of Measurements Exceeded";

constexpr const char* kTooManyNamesText =
    "Too many names were found in the MVX file. Unable to load all measurement names.";
constexpr const char* kTooManyNamesCaption = "Error Loading Measurement Names";

/// The measurement file's names are read into a buffer of this many
/// characters: each name with its NUL, and one more NUL after the last.
constexpr std::size_t kSectionNamesBuffer = 65534;
/// A buffer that overflowed reports this length, and so does one that is
/// filled to the brim; either way some names may be missing.
constexpr std::size_t kSectionNamesFullLength = kSectionNamesBuffer - 2;

/// How many names the block holds, whatever its count field says.
int UsedNames(const LayoutBlock& layout)
{
    return std::clamp<int>(layout.count(), 0, layout.capacity());
}

}  // namespace

void ResetNameList(LayoutBlock& layout, const std::string& measurementPath)
{
    layout.clear();
    layout.setPath(QByteArray::fromStdString(measurementPath));
}

NamesAdded AddGraphNames(QWidget* owner, LayoutBlock& layout, int graphNumber, const std::string& displayFile)
{
    const std::string section = GraphSectionName(graphNumber);
    bool grew = false;
    for (int k = 1; k <= kMaxMeasurementsPerGraph; ++k) {
        const std::string name = profile::ReadString(section, NumberedKey(kMeasurementKeyStem, k), "",
                                                     displayFile, kMeasurementNameCapacity);
        // A graph's names end at its first gap.
        if (name.empty())
            break;
        const QByteArray bytes = QByteArray::fromStdString(name);
        if (NameIndex(layout, bytes) >= 0)
            continue;
        const int count = UsedNames(layout);
        if (count >= kMaxListNames) {
            // The names added before this one stay: they reach the server
            // with the next layout that is sent.
            Beep();
            ShowMessage(owner, QString::fromLatin1(kListFullText), QString::fromLatin1(kListFullCaption),
                        MessageIcon::Stop);
            return kNamesFull;
        }
        layout.setName(count, bytes);
        layout.setCount(count + 1);
        grew = true;
    }
    return grew ? kNamesGrew : kNoNewNames;
}

NamesAdded AddViewNames(QWidget* owner, LayoutBlock& layout, int viewNumber, const std::string& displayFile)
{
    const std::string section = ViewSectionName(viewNumber);
    bool grew = false;
    // A view opens at most this many graph windows, so later entries would
    // only take room in the list.
    for (int j = 1; j <= kMaxGraphsPerView; ++j) {
        const std::string title = ViewEntry(viewNumber, j, displayFile);
        if (title.empty())
            break;
        const int graph = FindGraphByTitle(title, displayFile);
        if (graph == 0)
            continue;
        switch (AddGraphNames(owner, layout, graph, displayFile)) {
        case kNamesFull:
            return kNamesFull;
        case kNamesGrew:
            grew = true;
            break;
        case kNoNewNames:
            break;
        }
    }
    return grew ? kNamesGrew : kNoNewNames;
}

int FindGraphByTitle(const std::string& title, const std::string& displayFile)
{
    // A graph without a title is no graph a view can name.
    if (title.empty())
        return 0;
    // Gaps do not end the search: every graph section is looked at.
    for (int n = 1; n <= kMaxGraphs; ++n) {
        if (GraphTitle(n, displayFile) == title)
            return n;
    }
    return 0;
}

int NameIndex(const LayoutBlock& layout, const QByteArray& name)
{
    const int count = UsedNames(layout);
    for (int i = 0; i < count; ++i) {
        if (layout.name(i) == name)
            return i;
    }
    return -1;
}

QStringList ReadNamesFromMvx(QWidget* owner, const std::string& mvxFile)
{
    QStringList names;
    // The room left once the terminating empty name has its place.
    constexpr std::size_t kRoomForNames = kSectionNamesBuffer - 1;
    std::size_t used = 0;
    bool overflowed = false;
    for (const std::string& name : profile::ListSections(mvxFile)) {
        const std::size_t needed = name.size() + 1;
        // A name that does not fit whole is left out rather than cut: a cut
        // name would name no measurement.
        if (used + needed > kRoomForNames) {
            overflowed = true;
            break;
        }
        used += needed;
        // An empty section name can name no measurement either.
        if (!name.empty())
            names.append(FromAnsi(name));
    }
    const std::size_t reported = overflowed ? kSectionNamesFullLength : used;
    if (reported >= kSectionNamesFullLength) {
        ShowMessage(owner, QString::fromLatin1(kTooManyNamesText), QString::fromLatin1(kTooManyNamesCaption),
                    MessageIcon::Exclamation);
    }
    return names;
}

void LoadNamesFromMvx(QListWidget& list, const std::string& mvxFile)
{
    list.addItems(ReadNamesFromMvx(list.window(), mvxFile));
}

}  // namespace vexa::link
