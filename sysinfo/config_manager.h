// The configuration manager's functions that the device window uses,
// looked up by name in "cfgmgr32" at run time.
#pragma once

#include <windows.h>

#include <cfgmgr32.h>

#include "common/win_handles.h"

namespace sysinfo {

class ConfigManager {
public:
    using EnumerateClasses = CONFIGRET(WINAPI*)(ULONG, LPGUID, ULONG);
    using GetFirstLogConf = CONFIGRET(WINAPI*)(PLOG_CONF, DEVINST, ULONG);
    using GetNextResDes = CONFIGRET(WINAPI*)(PRES_DES, RES_DES, RESOURCEID, PRESOURCEID, ULONG);
    using FreeLogConfHandle = CONFIGRET(WINAPI*)(LOG_CONF);
    using FreeResDesHandle = CONFIGRET(WINAPI*)(RES_DES);
    using GetResDesData = CONFIGRET(WINAPI*)(RES_DES, PVOID, ULONG, ULONG);
    using GetResDesDataSize = CONFIGRET(WINAPI*)(PULONG, RES_DES, ULONG);

    // Loads the library unless it is loaded, and looks the functions up.
    // False when the library cannot be loaded. A function that is missing,
    // or that raises an exception instead of returning when it is tried with
    // arguments it must refuse (how Wine exports the functions it does not
    // implement), stays null.
    bool load(const char* library = "cfgmgr32");
    bool loaded() const { return module_.valid(); }
    // Every function was found.
    bool complete() const;

    EnumerateClasses enumerateClasses = nullptr;
    GetFirstLogConf getFirstLogConf = nullptr;
    GetNextResDes getNextResDes = nullptr;
    FreeLogConfHandle freeLogConfHandle = nullptr;
    FreeResDesHandle freeResDesHandle = nullptr;
    GetResDesData getResDesData = nullptr;
    GetResDesDataSize getResDesDataSize = nullptr;

private:
    win::Module module_;
};

}  // namespace sysinfo
