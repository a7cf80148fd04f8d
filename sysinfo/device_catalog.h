// The device classes, devices and resources that Windows knows, through the
// configuration manager and the device setup functions.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "sysinfo/config_manager.h"
#include "sysinfo/resource_lines.h"

namespace sysinfo {

enum class ClassStep {
    Found,     // a class with at least one device present
    NoDevice,  // a class without a present device
    Failed,    // this index could not be read
    End,       // no class at this index or after it
};

struct DeviceClass {
    std::string name;         // the class name, at most 1000 bytes
    std::string description;  // the installer key's default value, else the name
};

// The device classes by index, as the configuration manager lists them. A
// configuration manager that lists no class at all (Windows always has
// some; Wine's lists none) is replaced by the device setup functions' list
// of installed classes.
class ClassList {
public:
    explicit ClassList(const ConfigManager& cm);
    // CR_SUCCESS with the class's GUID, CR_NO_SUCH_VALUE past the last one,
    // another code for an index that cannot be read.
    CONFIGRET at(ULONG index, GUID& guid) const;
    // The number of classes before the first failure.
    ULONG count() const;

private:
    const ConfigManager& cm_;
    bool fromSetup_ = false;
    std::vector<GUID> installed_;
};

// The class at an index.
ClassStep classAt(const ClassList& classes, ULONG index, DeviceClass& found);

enum class DeviceStep {
    Found,        // name holds the device's name (empty when unreadable)
    End,          // no device at this index
    NoClassGuid,  // the class name names no class
    GuidFailure,  // the lookup of the class name failed
};

// The present device at an index of a class; name may be null.
DeviceStep deviceAt(const std::string& className, DWORD index, std::string* name);

// Writes the device's memory, port, DMA and interrupt resources to the
// listing, in that order.
void listDeviceResources(const ConfigManager& cm, const std::string& className, DWORD index,
                         ResourceListing& listing);

}  // namespace sysinfo
