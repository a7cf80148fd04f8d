#include "chat/login_line.h"

namespace lumonet {

namespace {

const std::string& orDefault(const std::string& value, const std::string& fallback) {
    return value.empty() ? fallback : value;
}

}  // namespace

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

}  // namespace lumonet
