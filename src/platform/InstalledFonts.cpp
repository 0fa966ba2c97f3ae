#include "InstalledFonts.h"

#include "AnsiText.h"

#include <fontconfig/fontconfig.h>

#include <QFontDatabase>
#include <QSet>

#include <array>
#include <map>
#include <memory>

namespace vexa {

namespace {

/// Faces of documents made on Windows that the editors offer when a
/// metric-compatible family stands in for them.
constexpr std::array kWindowsFaces{
    "Arial", "Arial Narrow", "Calibri", "Cambria", "Courier New", "Georgia", "Symbol", "Times New Roman",
};

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

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

/// Asks fontconfig. Its metric aliases bind the stand-ins of a family as
/// strongly as the family itself, while the generic fallbacks that follow
/// them bind weakly: the strongly bound families after the first are the
/// metric-compatible ones. The best match must be one of them.
std::string QueryMetricCompatibleFamily(const std::string& face)
{
    Pattern pattern(FcPatternCreate());
    if (!pattern)
        return {};
    const QByteArray utf8 = FromAnsi(face).toUtf8();
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8.constData()));
    if (!FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern))
        return {};

    FcValue value;
    FcValueBinding requested = FcValueBindingWeak;
    if (FcPatternGetWithBinding(pattern.get(), FC_FAMILY, 0, &value, &requested) != FcResultMatch)
        return {};
    QSet<QString> standIns;
    for (int index = 1;; ++index) {
        FcValueBinding binding = FcValueBindingWeak;
        if (FcPatternGetWithBinding(pattern.get(), FC_FAMILY, index, &value, &binding) != FcResultMatch
            || binding != requested || value.type != FcTypeString)
            break;
        standIns.insert(QString::fromUtf8(reinterpret_cast<const char*>(value.u.s)));
    }
    if (standIns.isEmpty())
        return {};

    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const Pattern match(FcFontMatch(nullptr, pattern.get(), &result));
    FcChar8* family = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &family) != FcResultMatch)
        return {};
    const QString matched = QString::fromUtf8(reinterpret_cast<const char*>(family));
    if (!standIns.contains(matched) || !ScalableFamilies().contains(matched))
        return {};
    return ToAnsi(matched);
}

}  // namespace

bool IsInstalledScalableFont(std::string_view family)
{
    if (family.empty())
        return false;
    return ScalableFamilies().contains(FromAnsi(family));
}

std::string MetricCompatibleFamily(std::string_view face)
{
    // A NUL would end the name early for fontconfig.
    if (face.empty() || face.find('\0') != std::string_view::npos)
        return {};
    static std::map<std::string, std::string, std::less<>> known;
    if (const auto found = known.find(face); found != known.end())
        return found->second;
    std::string family = QueryMetricCompatibleFamily(std::string(face));
    known.emplace(std::string(face), family);
    return family;
}

bool IsUsableFontFace(std::string_view face)
{
    return IsInstalledScalableFont(face) || !MetricCompatibleFamily(face).empty();
}

QStringList OfferedFontFaces()
{
    QSet<QString> faces = ScalableFamilies();
    for (const char* face : kWindowsFaces) {
        if (!MetricCompatibleFamily(face).empty())
            faces.insert(QString::fromLatin1(face));
    }
    QStringList sorted(faces.begin(), faces.end());
    sorted.sort(Qt::CaseInsensitive);
    return sorted;
}

}  // namespace vexa
