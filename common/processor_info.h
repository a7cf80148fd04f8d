// Facts about the machine's processor that the programs report.
#pragma once

#include <cstdint>

namespace win {

// The first processor's clock in MHz from the hardware description in the
// registry; -1 when it cannot be read.
int64_t processorMhz();

}  // namespace win
