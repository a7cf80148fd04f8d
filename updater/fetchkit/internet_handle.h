// The owner of a WinINet handle: a session from InternetOpen, a connection
// from InternetConnect, a request from HttpOpenRequest.
#pragma once

#include <windows.h>

#include <wininet.h>

#include "common/win_handles.h"

namespace fetchkit {

struct InternetHandleTraits {
    using Handle = HINTERNET;
    static Handle invalid() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { InternetCloseHandle(h); }
};

using InternetHandle = win::UniqueHandle<InternetHandleTraits>;

}  // namespace fetchkit
