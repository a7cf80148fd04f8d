// Mendora.exe.
#include <windows.h>

#include "mendora_startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
    return sysrepair::runMendora(arguments ? arguments : "");
}
