#include "scan/scan_flags.h"

namespace sysrepair {

std::atomic<bool> scanFinished{true};
std::atomic<bool> wasRunning{false};

}  // namespace sysrepair
