// MendoraUpdater.exe.
#include <windows.h>

#include "updater/window/updater_startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return updater::runMendoraUpdater();
}
