#include "FontSpec.h"

#include "DisplayFormat.h"
#include "ProfileStore.h"
#include "ProfileWriteBatch.h"
#include "TextFields.h"

#include <array>

namespace vexa {

namespace {

constexpr const char* kDefaultFace = "Arial";
constexpr int kDefaultSize = 8;
// Font keys are read into 50-character buffers when they are checked.
constexpr std::size_t kFontCheckCapacity = 50;

constexpr std::array<const char*, 3> kFontKeys = {"GF", "LF", "TF"};

enum FontField { kFace, kSize, kStyle, kColour };

}  // namespace

FontSpec DefaultFontSpec(FontKind kind)
{
    switch (kind) {
    case FontKind::Title:
        return {kDefaultFace, kDefaultSize, 0, 2};
    case FontKind::Label:
    case FontKind::TimeHistoryLabel:
        return {kDefaultFace, kDefaultSize, 0, 4};
    case FontKind::Grid:
        return {kDefaultFace, kDefaultSize, 0, 0};
    case FontKind::ScrollingTabularLabel:
        return {kNoFontFace, 0, 0, 0};
    }
    return {kDefaultFace, kDefaultSize, 0, 0};
}

std::string DefaultFontText(FontKind kind)
{
    const FontSpec spec = DefaultFontSpec(kind);
    return spec.face + "," + std::to_string(spec.size) + "," + std::to_string(spec.style) + ","
           + std::to_string(spec.colour);
}

FontSpec ReadFontSpec(std::string_view section, std::string_view key, FontKind kind,
                      const std::string& file, std::size_t faceCapacity)
{
    FontSpec spec = DefaultFontSpec(kind);
    const std::string value = profile::ReadString(section, key, DefaultFontText(kind), file);
    const std::vector<std::string> fields = SplitFields(value, ',');
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string& field = fields[i];
        if (field.empty())
            continue;
        switch (i) {
        case kFace:
            spec.face = faceCapacity == 0 ? std::string() : field.substr(0, faceCapacity - 1);
            break;
        case kSize:
            spec.size = ParseLeadingInt(field);
            break;
        case kStyle:
            spec.style = ParseLeadingInt(field);
            break;
        case kColour:
            spec.colour = ParseLeadingInt(field);
            break;
        default:
            break;
        }
    }
    return spec;
}

int FontColour(std::string_view section, std::string_view key, FontKind kind,
               const std::string& file)
{
    return ReadFontSpec(section, key, kind, file).colour;
}

bool WriteFontSpec(std::string_view section, std::string_view key, std::string_view face,
                   std::string_view sizeText, int style, int colour, const std::string& file)
{
    std::string value(face);
    value += ",";
    value += sizeText;
    value += "," + std::to_string(style) + "," + std::to_string(colour);
    return profile::WriteString(section, key, value, file);
}

void CheckFontNames(const std::string& file, const FontAvailability& isInstalled)
{
    const ProfileWriteBatch batch(file);
    for (int graph = 1;; ++graph) {
        const std::string section = GraphSectionName(graph);
        if (profile::ListKeys(section, file).empty())
            return;
        for (const char* key : kFontKeys) {
            const std::string value = profile::ReadString(section, key, "", file, kFontCheckCapacity);
            const std::string face = value.substr(0, value.find(','));
            const bool keep = !face.empty() && (face == kNoFontFace || isInstalled(face));
            if (!keep)
                profile::DeleteKey(section, key, file);
        }
    }
}

}  // namespace vexa
