// What the Windows information window lists, read from the running system:
// four sections of rows (operating system, general, mouse, system).
#pragma once

#include <string>
#include <vector>

#include "sysinfo/os_texts.h"

namespace sysinfo {

// Pictures of the window's image list.
enum InfoImage {
    kItemImage = 0,
    kHeadingImage = 1,
    kOsHeadingImage = 7,
    kOsItemImage = 11,
    kNoImage = -1,
};

struct InfoRow {
    std::string item;
    std::string value;
    int image = kNoImage;
    int indent = 0;
};

// The record of the running Windows: the extended one, or the short one
// when the extended query fails. False when neither can be read.
bool readVersionRecord(VersionRecord& record);

// Section 1. False, with no rows, when the version cannot be told.
bool operatingSystemRows(std::vector<InfoRow>& rows);
// Section 2: processor facts, uptime, product id and owner, regional
// settings. osCode as OsVersion classifies the running Windows.
void generalRows(int osCode, std::vector<InfoRow>& rows);
// Section 3, only when a mouse is present.
void mouseRows(std::vector<InfoRow>& rows);
// Section 4: computer name, user name and system folder.
void systemRows(std::vector<InfoRow>& rows);

}  // namespace sysinfo
