#include "common/true_version.h"

#include <cstring>

namespace win {

namespace {

using RtlGetVersionCall = LONG(WINAPI*)(OSVERSIONINFOEXW*);
using GetProductInfoCall = BOOL(WINAPI*)(DWORD, DWORD, DWORD, DWORD, DWORD*);

// A function of a system library that older Windows versions lack.
template <typename Call>
Call systemCall(const char* library, const char* name) {
    const HMODULE module = GetModuleHandleA(library);
    return module ? reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

bool readKernelVersion(OSVERSIONINFOA& record) {
    const auto rtlGetVersion = systemCall<RtlGetVersionCall>("ntdll.dll", "RtlGetVersion");
    if (!rtlGetVersion) return false;
    OSVERSIONINFOEXW kernel = {};
    kernel.dwOSVersionInfoSize = sizeof kernel;
    if (rtlGetVersion(&kernel) != 0) return false;
    const DWORD size = record.dwOSVersionInfoSize;
    record.dwMajorVersion = kernel.dwMajorVersion;
    record.dwMinorVersion = kernel.dwMinorVersion;
    record.dwBuildNumber = kernel.dwBuildNumber;
    record.dwPlatformId = kernel.dwPlatformId;
    std::memset(record.szCSDVersion, 0, sizeof record.szCSDVersion);
    WideCharToMultiByte(CP_ACP, 0, kernel.szCSDVersion, -1, record.szCSDVersion,
                        sizeof record.szCSDVersion - 1, nullptr, nullptr);
    if (size >= sizeof(OSVERSIONINFOEXA)) {
        auto& extended = reinterpret_cast<OSVERSIONINFOEXA&>(record);
        extended.wServicePackMajor = kernel.wServicePackMajor;
        extended.wServicePackMinor = kernel.wServicePackMinor;
        extended.wSuiteMask = kernel.wSuiteMask;
        extended.wProductType = kernel.wProductType;
        extended.wReserved = kernel.wReserved;
    }
    return true;
}

}  // namespace

bool readTrueVersion(OSVERSIONINFOA& record) {
    if (readKernelVersion(record)) return true;
    return GetVersionExA(&record) != 0;
}

DWORD readProductInfo(DWORD major, DWORD minor, DWORD servicePackMajor, DWORD servicePackMinor) {
    const auto getProductInfo = systemCall<GetProductInfoCall>("kernel32.dll", "GetProductInfo");
    DWORD product = 0;
    if (!getProductInfo ||
        !getProductInfo(major, minor, servicePackMajor, servicePackMinor, &product))
        return 0;
    return product;
}

}  // namespace win
