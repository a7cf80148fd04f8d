// The cipher's initial subkeys: the hexadecimal digits of pi after the point.
#pragma once

#include <cstdint>

namespace lumonet {

extern const uint32_t initialP[18];
extern const uint32_t initialS[4][256];

}  // namespace lumonet
