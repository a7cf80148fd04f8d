#include "sysinfo/modern_windows_names.h"

namespace sysinfo {

namespace {

constexpr uint32_t kWorkstation = 1;

// The first builds of Windows 11 and of the servers that share 10.0.
constexpr uint32_t kFirstWindows11Build = 22000;
constexpr uint32_t kFirstServer2019Build = 17763;
constexpr uint32_t kFirstServer2022Build = 20348;
constexpr uint32_t kFirstServer2025Build = 26100;

std::string workstationName(uint32_t major, uint32_t minor, uint32_t build) {
    if (major == 6 && minor == 0) return "Windows Vista";
    if (major == 6 && minor == 1) return "Windows 7";
    if (major == 6 && minor == 2) return "Windows 8";
    if (major == 6 && minor == 3) return "Windows 8.1";
    if (major == 10 && minor == 0)
        return build >= kFirstWindows11Build ? "Windows 11" : "Windows 10";
    return "";
}

std::string serverName(uint32_t major, uint32_t minor, uint32_t build) {
    if (major == 6 && minor == 0) return "Windows Server 2008";
    if (major == 6 && minor == 1) return "Windows Server 2008 R2";
    if (major == 6 && minor == 2) return "Windows Server 2012";
    if (major == 6 && minor == 3) return "Windows Server 2012 R2";
    if (major == 10 && minor == 0) {
        if (build >= kFirstServer2025Build) return "Windows Server 2025";
        if (build >= kFirstServer2022Build) return "Windows Server 2022";
        if (build >= kFirstServer2019Build) return "Windows Server 2019";
        return "Windows Server 2016";
    }
    return "";
}

struct Edition {
    uint32_t product;
    const char* name;
};

// GetProductInfo's products (winnt.h PRODUCT_...), the common ones.
constexpr Edition kEditions[] = {
    {0x01, "Ultimate"},
    {0x02, "Home Basic"},
    {0x03, "Home Premium"},
    {0x04, "Enterprise"},
    {0x05, "Home Basic N"},
    {0x06, "Business"},
    {0x07, "Standard"},
    {0x08, "Datacenter"},
    {0x09, "Small Business Server"},
    {0x0A, "Enterprise"},
    {0x0B, "Starter"},
    {0x0C, "Datacenter (Server Core)"},
    {0x0D, "Standard (Server Core)"},
    {0x0E, "Enterprise (Server Core)"},
    {0x10, "Business N"},
    {0x11, "Web Server"},
    {0x1B, "Enterprise N"},
    {0x1C, "Ultimate N"},
    {0x31, "Professional N"},
    {0x48, "Enterprise Evaluation"},
    {0x4F, "Standard Evaluation"},
    {0x50, "Datacenter Evaluation"},
    {0x62, "Home N"},
    {0x63, "Home China"},
    {0x64, "Home Single Language"},
    {0x65, "Home"},
    {0x79, "Education"},
    {0x7A, "Education N"},
    {0x7D, "Enterprise LTSC"},
    {0xA1, "Pro for Workstations"},
    {0xA4, "Pro Education"},
};

constexpr uint32_t kProfessional = 0x30;

}  // namespace

std::string modernReleaseName(uint32_t major, uint32_t minor, uint32_t build,
                              uint32_t productType) {
    const std::string name = productType == kWorkstation ? workstationName(major, minor, build)
                                                         : serverName(major, minor, build);
    if (!name.empty()) return name;
    return "Windows " + std::to_string(major) + "." + std::to_string(minor);
}

std::string editionName(uint32_t productInfo, uint32_t major) {
    // Windows 10 renamed Professional.
    if (productInfo == kProfessional) return major >= 10 ? "Pro" : "Professional";
    for (const Edition& edition : kEditions)
        if (edition.product == productInfo) return edition.name;
    return "";
}

}  // namespace sysinfo
