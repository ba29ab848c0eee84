#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace marvoxa {

// An object's rows as the object definition carries them: runs of one palette index, each row
// closed by 00 00. The runs come as key << 16 | length, a zero closing each row; indexOf gives
// each key's palette index, and neighbouring runs of one index become one.
QByteArray EncodeObjectRuns(const std::uint32_t* runs, size_t count,
                            const std::vector<std::uint8_t>& indexOf);

}  // namespace marvoxa
