// Gathers the facts of the login line from this machine and installation.
#pragma once

#include <windows.h>

#include <string>

#include "chat/login_line.h"

namespace lumonet {

// The installation's values of a key (the suite's key, common/suite_registry.h):
// the string values "ori", "dref" and "version" and the number "tdai" (a
// DWORD, or a string of decimal digits). Missing or unreadable values stay
// empty (0 for the number). `view` as for RegistryReaderWriter::setView.
InstallationValues readInstallationValues(HKEY root, const std::string& keyPath, REGSAM view = 0);

// Everything above, from the suite's key (common/suite_records.h).
SystemInfo readSystemInfo();

}  // namespace lumonet
