#include "Placement.h"

#include "ProfileStore.h"

#include <array>
#include <charconv>

namespace vexa {

Placement ParsePlacement(std::string_view text, int defaultValue)
{
    Placement placement{defaultValue, defaultValue, defaultValue, defaultValue};
    const std::array<int*, 4> fields = {&placement.x, &placement.y, &placement.width, &placement.height};
    const char* cursor = text.data();
    const char* const end = text.data() + text.size();
    for (int* field : fields) {
        while (cursor < end && (*cursor == ' ' || *cursor == '\t'))
            ++cursor;
        if (cursor < end && *cursor == '+')
            ++cursor;
        int value = 0;
        const auto [next, error] = std::from_chars(cursor, end, value);
        if (error != std::errc())
            break;  // the first field that is no number ends the value
        *field = value;
        cursor = next;
    }
    return placement;
}

Placement ReadPlacement(std::string_view section, std::string_view key, int defaultValue,
                        const std::string& file)
{
    return ParsePlacement(profile::ReadString(section, key, "", file), defaultValue);
}

std::string FormatPlacement(const Placement& placement)
{
    return std::to_string(placement.x) + " " + std::to_string(placement.y) + " "
           + std::to_string(placement.width) + " " + std::to_string(placement.height);
}

}  // namespace vexa
