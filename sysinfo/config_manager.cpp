#include "sysinfo/config_manager.h"

#include <atomic>
#include <functional>

namespace sysinfo {

namespace {

// The code with which an unimplemented function of Wine ends the call.
constexpr DWORD kUnimplementedFunction = 0x80000100;

std::atomic<DWORD> probingThread{0};

LONG CALLBACK endProbeOnUnimplemented(EXCEPTION_POINTERS* exception) {
    if (GetCurrentThreadId() == probingThread.load() &&
        exception->ExceptionRecord->ExceptionCode == kUnimplementedFunction)
        ExitThread(1);
    return EXCEPTION_CONTINUE_SEARCH;
}

DWORD WINAPI runProbe(void* call) {
    probingThread = GetCurrentThreadId();
    (*static_cast<std::function<void()>*>(call))();
    return 0;
}

// Whether the call returns. It runs on a thread of its own, which ends
// where an unimplemented function would otherwise end the process.
bool returnsNormally(std::function<void()> call) {
    PVOID handler = AddVectoredExceptionHandler(1, endProbeOnUnimplemented);
    if (!handler) return false;
    bool returned = false;
    // Owned by the thread until it ends; a thread that never ends keeps it.
    auto* owned = new std::function<void()>(std::move(call));
    win::KernelHandle thread(CreateThread(nullptr, 0, runProbe, owned, 0, nullptr));
    DWORD exitCode = 1;
    const bool ended = thread && WaitForSingleObject(thread.get(), 10000) == WAIT_OBJECT_0;
    if (ended && GetExitCodeThread(thread.get(), &exitCode)) returned = exitCode == 0;
    if (ended || !thread) delete owned;
    probingThread = 0;
    RemoveVectoredExceptionHandler(handler);
    return returned;
}

template <typename Function>
void dropUnlessItReturns(Function& function, std::function<void()> probe) {
    if (function && !returnsNormally(std::move(probe))) function = nullptr;
}

template <typename Function>
void lookUp(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

bool ConfigManager::load(const char* library) {
    if (loaded()) return true;
    module_.reset(LoadLibraryA(library));
    if (!loaded()) return false;
    const HMODULE m = module_.get();
    lookUp(m, "CM_Enumerate_Classes", enumerateClasses);
    lookUp(m, "CM_Get_First_Log_Conf", getFirstLogConf);
    lookUp(m, "CM_Get_Next_Res_Des", getNextResDes);
    lookUp(m, "CM_Free_Log_Conf_Handle", freeLogConfHandle);
    lookUp(m, "CM_Free_Res_Des_Handle", freeResDesHandle);
    lookUp(m, "CM_Get_Res_Des_Data", getResDesData);
    lookUp(m, "CM_Get_Res_Des_Data_Size", getResDesDataSize);

    // Null handles and pointers, which a working implementation refuses.
    dropUnlessItReturns(getFirstLogConf, [this] { getFirstLogConf(nullptr, 0, ALLOC_LOG_CONF); });
    dropUnlessItReturns(getNextResDes,
                        [this] { getNextResDes(nullptr, 0, ResType_Mem, nullptr, 0); });
    dropUnlessItReturns(freeLogConfHandle, [this] { freeLogConfHandle(0); });
    dropUnlessItReturns(freeResDesHandle, [this] { freeResDesHandle(0); });
    dropUnlessItReturns(getResDesData, [this] { getResDesData(0, nullptr, 0, 0); });
    dropUnlessItReturns(getResDesDataSize, [this] { getResDesDataSize(nullptr, 0, 0); });
    return true;
}

bool ConfigManager::complete() const {
    return enumerateClasses && getFirstLogConf && getNextResDes && freeLogConfHandle &&
           freeResDesHandle && getResDesData && getResDesDataSize;
}

}  // namespace sysinfo
