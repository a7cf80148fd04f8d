// Parleclient.exe.
#include <windows.h>

#include "chat/client/parleclient_startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return chatclient::runParleclient();
}
