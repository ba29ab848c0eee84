#pragma once

#include <cstdint>
#include <cstring>

namespace marvoxa {

// Sixteen 8-bit pixels at a time: the compiler turns operations on them into single vector
// instructions where the processor has them, and plain loops elsewhere.
using Pixels16 = std::uint8_t __attribute__((vector_size(16)));

// Sixteen pixels from any address, aligned or not.
inline Pixels16 LoadPixels16(const std::uint8_t* pixels) {
    Pixels16 loaded;
    std::memcpy(&loaded, pixels, sizeof loaded);
    return loaded;
}

}  // namespace marvoxa
