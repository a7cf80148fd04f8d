// Whether a name the update server gives for a downloaded file is safe to
// create in the "updates" folder. Pure.
#pragma once

#include <string>

namespace updater {

// A file name directly inside one folder: no folder separator, drive or
// stream colon, not "." or "..", no control character, not ending in a dot
// or blank (Windows would drop them and name another file), and no device
// name (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, with or without an
// extension, in any case).
bool isSafeLocalName(const std::string& name);

}  // namespace updater
