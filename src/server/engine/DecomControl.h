#pragma once

#include "link/protocol/WireFormat.h"

#include <QByteArray>

#include <array>
#include <cstdint>

namespace vexa::server {

/// The decommutation control record: how many words a frame holds, their
/// size and bit order, and each word's name and address. The server holds and
/// lists it; nothing fills it yet, so it stays zero unless someone sets it.
struct DecomControl {
    /// Room for this many words.
    static constexpr int kWords = 1024;
    /// The bit order that means "most significant bit first".
    static constexpr std::int32_t kMostSignificantBitFirst = 1;

    std::int32_t wordsPerFrame = 0;
    std::int32_t wordSize = 0;
    std::int32_t bitOrder = 0;
    /// Each name is 32 characters and a NUL, 8-bit text.
    std::array<std::array<char, link::kNameBytes>, kWords> names{};
    std::array<std::uint8_t, kWords> addresses{};

    /// Name of word \p word, cut at 32 characters; empty outside the record.
    QByteArray name(int word) const
    {
        if (word < 0 || word >= kWords)
            return {};
        return link::ReadTextField(names[size_t(word)].data(), link::kNameBytes);
    }

    /// Sets the name of word \p word (cut at 32 characters); ignored outside the record.
    void setName(int word, const QByteArray& text)
    {
        if (word < 0 || word >= kWords)
            return;
        link::WriteTextField(names[size_t(word)].data(), link::kNameBytes, text);
    }
};

}  // namespace vexa::server
