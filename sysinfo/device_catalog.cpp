#include "sysinfo/device_catalog.h"

#include <setupapi.h>

#include <memory>
#include <vector>

namespace sysinfo {

namespace {

constexpr DWORD kTextSize = 1000;
// Descriptor data is small; a larger size is not believed.
constexpr ULONG kMaxDescriptorSize = 1 << 20;

struct DeviceInfoSetTraits {
    using Handle = HDEVINFO;
    static Handle invalid() { return INVALID_HANDLE_VALUE; }
    static bool valid(Handle h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void close(Handle h) { SetupDiDestroyDeviceInfoList(h); }
};
using DeviceInfoSet = win::UniqueHandle<DeviceInfoSetTraits>;

DeviceInfoSet presentDevices(const GUID& classGuid) {
    return DeviceInfoSet(SetupDiGetClassDevsA(&classGuid, nullptr, nullptr, DIGCF_PRESENT));
}

// Handles of the configuration manager, freed through its own functions.
class LogConf {
public:
    LogConf(const ConfigManager& cm, LOG_CONF handle) : cm_(cm), handle_(handle) {}
    ~LogConf() { cm_.freeLogConfHandle(handle_); }
    LogConf(const LogConf&) = delete;
    LogConf& operator=(const LogConf&) = delete;
    LOG_CONF get() const { return handle_; }

private:
    const ConfigManager& cm_;
    LOG_CONF handle_;
};

class ResDes {
public:
    ResDes(const ConfigManager& cm, RES_DES handle) : cm_(cm), handle_(handle) {}
    ~ResDes() { cm_.freeResDesHandle(handle_); }
    ResDes(const ResDes&) = delete;
    ResDes& operator=(const ResDes&) = delete;
    RES_DES get() const { return handle_; }

private:
    const ConfigManager& cm_;
    RES_DES handle_;
};

std::string classDescription(const GUID& guid) {
    win::RegKey key(SetupDiOpenClassRegKeyExA(&guid, KEY_READ, DIOCR_INSTALLER, nullptr, nullptr));
    if (!key.valid() || key.get() == reinterpret_cast<HKEY>(INVALID_HANDLE_VALUE)) {
        key.detach();
        return {};
    }
    char text[kTextSize];
    DWORD size = sizeof text;
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), "", nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    return std::string(text, strnlen(text, size));
}

// The set of present devices of the class's first GUID and the device at an
// index of it.
struct FoundDevice {
    DeviceInfoSet set;
    SP_DEVINFO_DATA data = {};
};

DeviceStep findDevice(const std::string& className, DWORD index, FoundDevice& device) {
    DWORD required = 0;
    GUID first = {};
    if (!SetupDiClassGuidsFromNameA(className.c_str(), &first, 0, &required) &&
        GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return DeviceStep::GuidFailure;
    if (required == 0) return DeviceStep::NoClassGuid;
    std::vector<GUID> guids(required);
    if (!SetupDiClassGuidsFromNameA(className.c_str(), guids.data(), required, &required))
        return DeviceStep::GuidFailure;
    device.set = presentDevices(guids[0]);
    if (!device.set.valid()) return DeviceStep::End;
    device.data.cbSize = sizeof device.data;
    if (!SetupDiEnumDeviceInfo(device.set.get(), index, &device.data)) return DeviceStep::End;
    return DeviceStep::Found;
}

bool readDeviceText(const FoundDevice& device, DWORD property, std::string& text) {
    char buffer[kTextSize];
    DWORD size = 0;
    if (!SetupDiGetDeviceRegistryPropertyA(
            device.set.get(), const_cast<SP_DEVINFO_DATA*>(&device.data), property, nullptr,
            reinterpret_cast<BYTE*>(buffer), sizeof buffer, &size))
        return false;
    text.assign(buffer, strnlen(buffer, size < sizeof buffer ? size : sizeof buffer));
    return true;
}

// The device's allocated configuration, or its boot configuration when it
// has no allocated one.
bool firstLogConf(const ConfigManager& cm, DEVINST device, LOG_CONF& conf) {
    CONFIGRET result = cm.getFirstLogConf(&conf, device, ALLOC_LOG_CONF);
    if (result == CR_NO_MORE_LOG_CONF) result = cm.getFirstLogConf(&conf, device, BOOT_LOG_CONF);
    return result == CR_SUCCESS;
}

void listResourcesOfKind(const ConfigManager& cm, DEVINST device, RESOURCEID type,
                         ResourceKind kind, ResourceListing& listing) {
    LOG_CONF confHandle = 0;
    if (!firstLogConf(cm, device, confHandle)) return;
    LogConf conf(cm, confHandle);
    RES_DES first = 0;
    if (cm.getNextResDes(&first, conf.get(), type, nullptr, 0) != CR_SUCCESS) return;
    listing.beginBlock(kind);
    auto descriptor = std::make_unique<ResDes>(cm, first);
    for (;;) {
        ULONG size = 0;
        if (cm.getResDesDataSize(&size, descriptor->get(), 0) == CR_SUCCESS && size > 0 &&
            size <= kMaxDescriptorSize) {
            std::vector<uint8_t> data(size);
            if (cm.getResDesData(descriptor->get(), data.data(), size, 0) == CR_SUCCESS)
                listing.addDescriptor(kind, data.data(), data.size());
        }
        RES_DES next = 0;
        if (cm.getNextResDes(&next, descriptor->get(), type, nullptr, 0) != CR_SUCCESS) return;
        descriptor = std::make_unique<ResDes>(cm, next);
    }
}

}  // namespace

ClassList::ClassList(const ConfigManager& cm) : cm_(cm) {
    GUID first;
    if (cm_.enumerateClasses && cm_.enumerateClasses(0, &first, 0) != CR_NO_SUCH_VALUE) return;
    fromSetup_ = true;
    DWORD required = 0;
    SetupDiBuildClassInfoList(0, nullptr, 0, &required);
    // Twice, in case a class is installed in between.
    for (int attempt = 0; attempt < 2 && required > 0; ++attempt) {
        installed_.resize(required);
        if (SetupDiBuildClassInfoList(0, installed_.data(), required, &required)) {
            installed_.resize(required);
            return;
        }
    }
    installed_.clear();
}

CONFIGRET ClassList::at(ULONG index, GUID& guid) const {
    if (!fromSetup_) return cm_.enumerateClasses(index, &guid, 0);
    if (index >= installed_.size()) return CR_NO_SUCH_VALUE;
    guid = installed_[index];
    return CR_SUCCESS;
}

ULONG ClassList::count() const {
    ULONG count = 0;
    GUID guid;
    while (at(count, guid) == CR_SUCCESS) ++count;
    return count;
}

ClassStep classAt(const ClassList& classes, ULONG index, DeviceClass& found) {
    GUID guid = {};
    const CONFIGRET result = classes.at(index, guid);
    if (result == CR_NO_SUCH_VALUE) return ClassStep::End;
    if (result != CR_SUCCESS) return ClassStep::Failed;
    char name[kTextSize] = {};
    if (!SetupDiClassNameFromGuidA(&guid, name, sizeof name, nullptr)) name[0] = '\0';
    DeviceInfoSet devices = presentDevices(guid);
    if (!devices.valid()) return ClassStep::NoDevice;
    SP_DEVINFO_DATA first = {};
    first.cbSize = sizeof first;
    if (!SetupDiEnumDeviceInfo(devices.get(), 0, &first)) return ClassStep::NoDevice;
    found.name = std::string(name, strnlen(name, sizeof name));
    found.description = classDescription(guid);
    // A class without a description would be a blank line nobody can tell
    // apart: it shows its name.
    if (found.description.empty()) found.description = found.name;
    return ClassStep::Found;
}

DeviceStep deviceAt(const std::string& className, DWORD index, std::string* name) {
    FoundDevice device;
    const DeviceStep step = findDevice(className, index, device);
    if (step != DeviceStep::Found || !name) return step;
    name->clear();
    if (!readDeviceText(device, SPDRP_FRIENDLYNAME, *name))
        readDeviceText(device, SPDRP_DEVICEDESC, *name);
    return step;
}

void listDeviceResources(const ConfigManager& cm, const std::string& className, DWORD index,
                         ResourceListing& listing) {
    if (!cm.complete()) return;
    struct Kind {
        RESOURCEID type;
        ResourceKind kind;
    };
    static const Kind kinds[] = {{ResType_Mem, ResourceKind::Memory},
                                 {ResType_IO, ResourceKind::Ports},
                                 {ResType_DMA, ResourceKind::Dma},
                                 {ResType_IRQ, ResourceKind::Interrupt}};
    for (const Kind& kind : kinds) {
        FoundDevice device;
        if (findDevice(className, index, device) != DeviceStep::Found) continue;
        listResourcesOfKind(cm, device.data.DevInst, kind.type, kind.kind, listing);
    }
}

}  // namespace sysinfo
