#include "login_line.h"

namespace {

const std::string& orDefault(const std::string& value, const std::string& fallback) {
    return value.empty() ? fallback : value;
}

}  // namespace

int windowsKindCode(uint32_t platformId, uint32_t major, uint32_t minor) {
    switch (platformId) {
        case 0:  // Win32s
            return 0;
        case 1:  // the 9x platform
            if (major == 4 && minor == 0) return 1;
            if (major == 4 && minor == 10) return 2;
            if (major == 4 && minor == 90) return 3;
            return 0;
        case 2:  // NT
            if (major <= 4) return 4;
            if (major == 5 && minor == 0) return 5;
            if (major == 5 && minor == 1) return 6;
            if (major == 5 && minor == 2) return 7;
            return 0;
        default:
            return 0;
    }
}

std::string systemInfoText(const SystemInfo& info) {
    const InstallationValues& install = info.installation;
    return "UGI:" + std::to_string(info.windowsKind) + "__CPU:" + std::to_string(info.cpuMhz) +
           "__ori:" + orDefault(install.referral, defaultReferral) +
           "__dref:" + orDefault(install.secondReferral, suiteCode) +
           "__tdai:" + std::to_string(install.tdai) +
           "__version:" + orDefault(install.version, unknownVersion);
}

std::string composeLoginLine(const std::string& userName, const std::string& email,
                             const std::string& systemInfo) {
    return " /$winClient USER " + userName + " PASS " + email + " BLV1000 " + systemInfo;
}
