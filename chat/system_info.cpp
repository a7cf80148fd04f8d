#include "chat/system_info.h"

#include <cstdlib>
#include <cstring>

#include "common/os_version.h"
#include "common/processor_info.h"
#include "common/registry_reader_writer.h"
#include "common/suite_records.h"
#include "common/suite_registry.h"

namespace lumonet {

namespace {

// A string value of at most 260 bytes; empty when missing or of another type.
std::string readText(win::RegistryReaderWriter& reg, const char* name) {
    char buffer[win::RegistryReaderWriter::textBufferSize + 1] = {};
    DWORD type = 0;
    DWORD size = win::RegistryReaderWriter::textBufferSize;
    if (reg.readRaw(buffer, type, size, name) != ERROR_SUCCESS) return std::string();
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::string();
    if (size > win::RegistryReaderWriter::textBufferSize)
        size = win::RegistryReaderWriter::textBufferSize;
    return std::string(buffer, strnlen(buffer, size));
}

// A DWORD, or a string holding a whole decimal number; 0 otherwise.
int64_t readWholeNumber(win::RegistryReaderWriter& reg, const char* name) {
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

InstallationValues readInstallationValues(HKEY root, const std::string& keyPath, REGSAM view) {
    win::RegistryReaderWriter reg;
    reg.setRoot(root);
    reg.setKey(keyPath);
    reg.setView(view);
    InstallationValues values;
    values.referral = readText(reg, win::kReferralValue);
    values.secondReferral = readText(reg, win::kSecondReferralValue);
    values.tdai = readWholeNumber(reg, win::kTdaiValue);
    values.version = readText(reg, win::kVersionValue);
    return values;
}

SystemInfo readSystemInfo() {
    SystemInfo info;
    info.windowsKind = win::OsVersion().reportedKind;
    info.cpuMhz = win::processorMhz();
    info.installation =
        readInstallationValues(HKEY_LOCAL_MACHINE, win::kSuiteKey, win::kSuiteRecordsView);
    return info;
}

}  // namespace lumonet
