// Mendora.exe.
#include <windows.h>

#include "shell/mendora_startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
    return sysrepair::runMendora(arguments ? arguments : "");
}
