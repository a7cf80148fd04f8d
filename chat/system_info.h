// Gathers the facts of the login line from this machine and installation.
#pragma once

#include <windows.h>

#include <string>

#include "chat/login_line.h"

// Where the installation keeps its values: under HKEY_LOCAL_MACHINE, the
// string values "ori", "dref" and "version" and the number "tdai" (a DWORD,
// or a string of decimal digits).
constexpr char installationKey[] = "SOFTWARE\\Brisklane Technologies\\Mendora\\";

// Missing or unreadable values stay empty (0 for the number).
InstallationValues readInstallationValues(HKEY root, const std::string& keyPath);

// Everything above, from the installation key under HKEY_LOCAL_MACHINE.
SystemInfo readSystemInfo();
