#include "InstalledFonts.h"

#include "AnsiText.h"

#include <QFontDatabase>
#include <QSet>

namespace vexa {

namespace {

/// The installed outline font families, read once: the font database is
/// slow to ask, and fonts installed while the program runs are not expected
/// to be used by it.
const QSet<QString>& ScalableFamilies()
{
    static const QSet<QString> families = [] {
        QSet<QString> result;
        for (const QString& family : QFontDatabase::families()) {
            if (QFontDatabase::isSmoothlyScalable(family))
                result.insert(family);
        }
        return result;
    }();
    return families;
}

}  // namespace

bool IsInstalledScalableFont(std::string_view family)
{
    if (family.empty())
        return false;
    return ScalableFamilies().contains(FromAnsi(family));
}

}  // namespace vexa
