#pragma once

// The attribute boxes of the attributes dialog: read-only, hidden, system, archive.

#include "platform/types.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace core {

inline constexpr std::array<std::uint32_t, 4> AttrBit = {platform::ReadOnly, platform::Hidden,
                                                         platform::System, platform::Archive};

// Whether box `index` is checked for an attribute value read from a file.
constexpr bool boxChecked(std::uint32_t attributes, std::size_t index) {
    return (AttrBit[index] & attributes) > 0;
}

// The value rebuilt on any box click: the sum of AttrBit[i] times the box state (1 checked,
// 0 unchecked). Bits no box shows are dropped.
constexpr std::uint32_t attributesFromBoxes(const std::array<int, 4>& states) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < AttrBit.size(); ++i)
        sum += AttrBit[i] * static_cast<std::uint32_t>(states[i]);
    return sum;
}

} // namespace core
