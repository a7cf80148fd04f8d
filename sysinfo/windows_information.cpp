#include "sysinfo/windows_information.h"

#include <windows.h>

#include <cstdio>

#include "common/true_version.h"
#include "common/win_handles.h"
#include "sysinfo/uptime_text.h"

namespace sysinfo {

namespace {

constexpr DWORD kValueBufferSize = 260;
const char kWindowsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char kWindowsNtKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// A value of HKEY_LOCAL_MACHINE as text, read into a 260-byte buffer: false
// when the key or value cannot be read or the data does not fit.
bool readMachineText(const char* key, const char* name, std::string& text) {
    win::RegKey opened;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, opened.receive()) != ERROR_SUCCESS)
        return false;
    char buffer[kValueBufferSize];
    DWORD size = sizeof buffer;
    DWORD type = 0;
    if (RegQueryValueExA(opened.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                         &size) != ERROR_SUCCESS)
        return false;
    text.assign(buffer, size);
    const size_t end = text.find('\0');
    if (end != std::string::npos) text.resize(end);
    return true;
}

// A DWORD value of HKEY_LOCAL_MACHINE; 0 when it cannot be read.
DWORD readMachineNumber(const char* key, const char* name) {
    win::RegKey opened;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, opened.receive()) != ERROR_SUCCESS)
        return 0;
    DWORD number = 0;
    DWORD size = sizeof number;
    DWORD type = 0;
    if (RegQueryValueExA(opened.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&number),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return 0;
    return number;
}

bool machineKeyExists(const char* key) {
    win::RegKey opened;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, opened.receive()) == ERROR_SUCCESS;
}

void heading(std::vector<InfoRow>& rows, const std::string& text, int image = kHeadingImage) {
    rows.push_back(InfoRow{text, "", image, 0});
}

void item(std::vector<InfoRow>& rows, const std::string& text, const std::string& value,
          int image = kItemImage) {
    rows.push_back(InfoRow{text, value, image, 1});
}

void blank(std::vector<InfoRow>& rows) {
    rows.push_back(InfoRow{});
}

void machineTextItem(std::vector<InfoRow>& rows, const char* caption, const char* key,
                     const char* name) {
    std::string text;
    if (readMachineText(key, name, text)) item(rows, caption, text);
}

void localeItem(std::vector<InfoRow>& rows, const char* caption, LCTYPE type) {
    char buffer[kValueBufferSize];
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer) < 2) return;
    item(rows, caption, buffer);
}

std::string decimal(unsigned long long number) {
    return std::to_string(number);
}

}  // namespace

bool readVersionRecord(VersionRecord& record) {
    OSVERSIONINFOEXA extended = {};
    extended.dwOSVersionInfoSize = sizeof extended;
    auto* plain = reinterpret_cast<OSVERSIONINFOA*>(&extended);
    record.extended = win::readTrueVersion(*plain);
    if (!record.extended) {
        plain->dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!win::readTrueVersion(*plain)) return false;
    }
    record.platformId = extended.dwPlatformId;
    record.major = extended.dwMajorVersion;
    record.minor = extended.dwMinorVersion;
    record.build = extended.dwBuildNumber;
    record.servicePack.assign(extended.szCSDVersion,
                              strnlen(extended.szCSDVersion, sizeof extended.szCSDVersion));
    if (record.extended) {
        record.productType = extended.wProductType;
        record.suiteMask = extended.wSuiteMask;
    }
    if (record.platformId == VER_PLATFORM_WIN32_NT && record.major >= 6) {
        record.productInfo = win::readProductInfo(
            record.major, record.minor, extended.wServicePackMajor, extended.wServicePackMinor);
        record.updateRevision = readMachineNumber(kWindowsNtKey, "UBR");
    }
    return true;
}

bool operatingSystemRows(std::vector<InfoRow>& rows) {
    VersionRecord record;
    if (!readVersionRecord(record)) return false;
    OsFacts facts;
    facts.readProductType = [](std::string& type) {
        return readMachineText("SYSTEM\\CurrentControlSet\\Control\\ProductOptions", "ProductType",
                               type);
    };
    facts.hasServicePack6aHotfix = [] {
        return machineKeyExists("SOFTWARE\\Microsoft\\WindowsNT\\CurrentVersion\\Hotfix\\Q246009");
    };
    facts.readEditionId = [](std::string& edition) {
        return readMachineText(kWindowsNtKey, "EditionID", edition);
    };
    OsTexts texts;
    if (!makeOsTexts(record, facts, texts)) return false;
    heading(rows, "Operating System Information", kOsHeadingImage);
    item(rows, "Platform", texts.platform, kOsItemImage);
    item(rows, "Version", texts.version, kOsItemImage);
    item(rows, "Service Pack", texts.servicePack, kOsItemImage);
    blank(rows);
    return true;
}

void generalRows(int osCode, std::vector<InfoRow>& rows) {
    heading(rows, "General Os Information");
    SYSTEM_INFO system = {};
    GetSystemInfo(&system);
    item(rows, "Number of processors:", decimal(system.dwNumberOfProcessors));
    item(rows, "Processor type:", decimal(system.dwProcessorType));
    item(rows, "Page size:", decimal(system.dwPageSize));
    item(rows, "Active processor mask:", decimal(system.dwActiveProcessorMask));
    item(rows, "Minimum application address:",
         decimal(reinterpret_cast<uintptr_t>(system.lpMinimumApplicationAddress)));
    item(rows, "Maximum application address:",
         decimal(reinterpret_cast<uintptr_t>(system.lpMaximumApplicationAddress)));
    item(rows, "Windows Uptime", uptimeText(GetTickCount()));

    if (osCode == 5 || osCode == 6)
        machineTextItem(rows, "Kernel Type", kWindowsNtKey, "CurrentType");
    const bool productIdInWindowsKey = osCode == 1 || osCode == 2 || osCode == 3 || osCode == 6;
    machineTextItem(rows, "Windows Product ID", productIdInWindowsKey ? kWindowsKey : kWindowsNtKey,
                    "ProductId");
    const bool ownerInWindowsKey = osCode == 1 || osCode == 2 || osCode == 3;
    machineTextItem(rows, "Registered Owner", ownerInWindowsKey ? kWindowsKey : kWindowsNtKey,
                    "RegisteredOwner");
    blank(rows);

    heading(rows, "Regional Settings");
    localeItem(rows, "Language", LOCALE_SLANGUAGE);
    localeItem(rows, "Country", LOCALE_SCOUNTRY);
    machineTextItem(rows, "Time Zone", "SYSTEM\\CurrentControlSet\\Control\\TimeZoneInformation",
                    "StandardName");
    localeItem(rows, "Ansi Code Page", LOCALE_IDEFAULTANSICODEPAGE);
    localeItem(rows, "OEM Code Page", LOCALE_IDEFAULTCODEPAGE);
    blank(rows);
}

void mouseRows(std::vector<InfoRow>& rows) {
    if (GetSystemMetrics(SM_MOUSEPRESENT) == 0) return;
    heading(rows, "Mouse Info:");
    int mouse[3] = {};
    if (!SystemParametersInfoA(SPI_GETMOUSE, 0, mouse, 0)) return;
    item(rows, "Mouse Speed", std::to_string(mouse[2]));
    item(rows, "Mouse Threshold (x and y)", std::to_string(mouse[0] + mouse[1]));
    blank(rows);
}

void systemRows(std::vector<InfoRow>& rows) {
    heading(rows, "System Info:");
    char buffer[MAX_PATH];
    DWORD size = sizeof buffer;
    if (GetComputerNameA(buffer, &size)) item(rows, "Computer Name", buffer);
    size = sizeof buffer;
    if (GetUserNameA(buffer, &size)) item(rows, "User Name", buffer);
    const UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
    if (length > 0 && length < sizeof buffer) item(rows, "System Directory", buffer);
}

}  // namespace sysinfo
