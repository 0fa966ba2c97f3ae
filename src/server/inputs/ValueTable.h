#pragma once


#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vexa::server {

/// Told every value the value table stores, with the number of its entry,
/// which stays the name's for the server's lifetime.
class StoredValueTap {
public:
    virtual ~StoredValueTap() = default;
    virtual void Stored(std::size_t entry, std::string_view name, double value, double sourceTime) = 0;
};

/// The latest value of every name a live source has fed, and the answers
/// for the positions of the layout in force. Names are kept for the
/// server's lifetime, in the order they first came; past kMaxNames a new
/// name is refused and counted, while the names already held go on being
/// updated.
class ValueTable {
public:
    static constexpr std::size_t kMaxNames = 100000;

    /// One name with its latest value.
    struct Entry {
        std::string name;
        double value = 0.0;
        double lowest = 0.0;    ///< the smallest value seen
        double highest = 0.0;   ///< the largest value seen
        std::int64_t receivedMs = 0;  ///< when it was fed, on the monotonic clock
        double sourceTime = 0.0;      ///< the sender's time in seconds; NaN when it sent none
        int input = -1;               ///< the input that fed it last
    };

    enum class StoreResult { Updated, Added, Refused };

    /// Stores \p value for \p name, fed by \p input at \p nowMs. The caller
    /// has checked the name. A new name is refused when the table is full.
    StoreResult Store(std::string_view name, double value, double sourceTime, int input, std::int64_t nowMs);

    /// Hands every value stored from now on to \p tap as well (the
    /// recorder); nullptr for none. The table does not own it.
    void setTap(StoredValueTap* tap) { m_tap = tap; }

    std::size_t size() const { return m_entries.size(); }
    const Entry& entry(std::size_t index) const { return m_entries[index]; }
    /// The index of \p name; nullopt when it was never fed.
    std::optional<std::size_t> find(std::string_view name) const;
    /// New names refused because the table was full.
    std::uint64_t refusedCount() const { return m_refused; }

    /// The stale limit in milliseconds; 0 for none.
    void setStaleAfter(int milliseconds) { m_staleAfterMs = milliseconds; }
    int staleAfter() const { return m_staleAfterMs; }
    /// True when entry \p index was last fed longer ago than the stale limit.
    bool isStale(std::size_t index, std::int64_t nowMs) const;

    /// Takes the names of the layout in force, in position order. Names fed
    /// later are bound to their positions as they first come.
    void BindLayout(const std::vector<std::string>& names);
    /// The answer for layout position \p position at \p nowMs: its latest
    /// value, NaN when that is stale, nullopt when no source has fed the
    /// name (or the position is outside the layout).
    std::optional<double> LayoutValue(int position, std::int64_t nowMs) const;

private:
    /// Looks names up by view, without making a string of them.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };
    using NameIndex = std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>>;
    static constexpr std::int32_t kUnbound = -1;

    void Tap(std::size_t entry, std::string_view name, double value, double sourceTime);

    std::vector<Entry> m_entries;
    NameIndex m_index;
    std::uint64_t m_refused = 0;
    int m_staleAfterMs = 0;
    StoredValueTap* m_tap = nullptr;
    /// The entry of each layout position, kUnbound while its name was never fed.
    std::vector<std::int32_t> m_layout;
    /// The layout's names not fed yet, with their positions.
    std::unordered_map<std::string, std::vector<int>, NameHash, std::equal_to<>> m_waiting;
};

}  // namespace vexa::server
