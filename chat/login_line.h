// The first line of every chat session: who is asking for support, and on
// what kind of machine.
#pragma once

#include <cstdint>
#include <string>

namespace lumonet {

// What the suite's installation tells the support server about itself.
struct InstallationValues {
    std::string referral;        // "ori:"
    std::string secondReferral;  // "dref:"
    int64_t tdai = 0;            // "tdai:"
    std::string version;         // "version:"
};

struct SystemInfo {
    int windowsKind = 0;  // OsVersion::reportedKind (common/os_version.h)
    int64_t cpuMhz = -1;  // -1 when unknown
    InstallationValues installation;
};

// Used in place of values the installation leaves out or empty.
constexpr char defaultReferral[] = "1000";
constexpr char suiteCode[] = "md";
constexpr char unknownVersion[] = "UnKnown";

// "UGI:6__CPU:800__ori:1000__dref:md__tdai:0__version:UnKnown"
std::string systemInfoText(const SystemInfo& info);

// " /$winClient USER <name> PASS <e-mail> BLV1000 <systemInfoText>"
std::string composeLoginLine(const std::string& userName, const std::string& email,
                             const std::string& systemInfo);

}  // namespace lumonet
