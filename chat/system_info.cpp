#include "system_info.h"

#include <cstdlib>
#include <cstring>

#include "registry_reader_writer.h"

namespace {

constexpr char processorKey[] = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0\\";

// A string value of at most 260 bytes; empty when missing or of another type.
std::string readText(RegistryReaderWriter& reg, const char* name) {
    char buffer[RegistryReaderWriter::textBufferSize + 1] = {};
    DWORD type = 0;
    DWORD size = RegistryReaderWriter::textBufferSize;
    if (reg.readRaw(buffer, type, size, name) != ERROR_SUCCESS) return std::string();
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::string();
    if (size > RegistryReaderWriter::textBufferSize) size = RegistryReaderWriter::textBufferSize;
    return std::string(buffer, strnlen(buffer, size));
}

// A DWORD, or a string holding a whole decimal number; 0 otherwise.
int64_t readWholeNumber(RegistryReaderWriter& reg, const char* name) {
    DWORD type = 0, size = 0;
    if (reg.readRaw(nullptr, type, size, name) != ERROR_SUCCESS) return 0;
    if (type == REG_DWORD) {
        DWORD value = 0;
        size = sizeof value;
        if (reg.readRaw(&value, type, size, name) != ERROR_SUCCESS || size != sizeof value)
            return 0;
        return value;
    }
    const std::string text = readText(reg, name);
    if (text.empty() || text.size() > 18) return 0;
    char* end = nullptr;
    const long long number = std::strtoll(text.c_str(), &end, 10);
    return *end == '\0' ? number : 0;
}

}  // namespace

InstallationValues readInstallationValues(HKEY root, const std::string& keyPath) {
    RegistryReaderWriter reg;
    reg.setRoot(root);
    reg.setKey(keyPath);
    InstallationValues values;
    values.referral = readText(reg, "ori");
    values.secondReferral = readText(reg, "dref");
    values.tdai = readWholeNumber(reg, "tdai");
    values.version = readText(reg, "version");
    return values;
}

int currentWindowsKind() {
    OSVERSIONINFOA version;
    std::memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return 0;
    return windowsKindCode(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion);
}

int64_t processorMhz() {
    RegistryReaderWriter reg;
    reg.setRoot(HKEY_LOCAL_MACHINE);
    reg.setKey(processorKey);
    DWORD type = 0;
    DWORD mhz = 0;
    DWORD size = sizeof mhz;
    if (reg.readRaw(&mhz, type, size, "~MHz") != ERROR_SUCCESS || type != REG_DWORD ||
        size != sizeof mhz)
        return -1;
    return mhz;
}

SystemInfo readSystemInfo() {
    SystemInfo info;
    info.windowsKind = currentWindowsKind();
    info.cpuMhz = processorMhz();
    info.installation = readInstallationValues(HKEY_LOCAL_MACHINE, installationKey);
    return info;
}
