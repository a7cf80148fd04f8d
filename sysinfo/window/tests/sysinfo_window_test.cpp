// The two windows in the test program: the Windows information list under
// the Windows versions the prefix can pretend to be, and the device window
// against what the device setup functions report.
#include <windows.h>

#include <setupapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "common/message_box.h"
#include "common/tests/support/child_process.h"
#include "common/tests/support/scoped_registry_value.h"
#include "sysinfo/window/ddi_form.h"
#include "sysinfo/window/win_info_form.h"
#include "sysinfo/windows_information.h"

namespace {

using testing_support::ScopedRegistryValue;

struct ShownRow {
    std::string value;
    int image = -1;
    int indent = 0;
};

// The window's rows: item text to what it shows, and the items in order.
struct ShownRows {
    std::vector<std::string> order;
    std::map<std::string, ShownRow> byItem;
    bool has(const std::string& item) const { return byItem.count(item) != 0; }
    const std::string& value(const std::string& item) const { return byItem.at(item).value; }
};

ShownRows readRows(const ui::ListView& list) {
    ShownRows rows;
    for (int i = 0; i < list.count(); ++i) {
        const std::string item = list.itemText(i);
        rows.order.push_back(item);
        if (!item.empty())
            rows.byItem[item] = ShownRow{list.itemText(i, 1), list.image(i), list.indent(i)};
    }
    return rows;
}

// Shows the window and writes its rows, one per line: item, value, image
// and indent between tabs.
CHILD_SCENARIO(printWindowsInformation) {
    win::setMessageBoxHandler([](const win::MessageBoxRequest& r) {
        std::printf("message\t%s\n", r.text.c_str());
        return IDOK;
    });
    sysinfo::TddiForm devices;
    sysinfo::TWinInfoForm1 form(devices);
    form.show();
    const ui::ListView& list = form.TeListView1;
    for (int i = 0; i < list.count(); ++i)
        std::printf("%s\t%s\t%d\t%d\n", list.itemText(i).c_str(), list.itemText(i, 1).c_str(),
                    list.image(i), list.indent(i));
    std::fflush(stdout);
    ExitProcess(0);
}

ShownRows parseRows(const std::string& output) {
    ShownRows rows;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
        if (fields.size() == 2 && fields[0] == "message") {
            rows.order.push_back("message: " + fields[1]);
            continue;
        }
        if (fields.size() != 4) continue;
        rows.order.push_back(fields[0]);
        if (!fields[0].empty())
            rows.byItem[fields[0]] =
                ShownRow{fields[1], std::stoi(fields[2]), std::stoi(fields[3])};
    }
    return rows;
}

std::string ownExeName() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string full(path, n);
    return full.substr(full.find_last_of('\\') + 1);
}

// The rows a fresh process of this program shows with the prefix pretending
// to be the given Windows version (an empty one: the prefix's own).
ShownRows rowsUnder(const std::string& version) {
    std::unique_ptr<ScopedRegistryValue> pretend;
    if (!version.empty())
        pretend = std::make_unique<ScopedRegistryValue>(
            HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\" + ownExeName(), "Version", version);
    const testing_support::ChildResult child = testing_support::runChild("printWindowsInformation");
    EXPECT_EQ(child.exitCode, 0u) << child.output;
    return parseRows(child.output);
}

const char kWindowsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char kWindowsNtKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

class WindowsInformation : public ::testing::Test {
protected:
    // Marked values in both keys, so that each row tells which key it read.
    ScopedRegistryValue windowsId{HKEY_LOCAL_MACHINE, kWindowsKey, "ProductId", "windows-key-id"};
    ScopedRegistryValue ntId{HKEY_LOCAL_MACHINE, kWindowsNtKey, "ProductId", "nt-key-id"};
    ScopedRegistryValue windowsOwner{HKEY_LOCAL_MACHINE, kWindowsKey, "RegisteredOwner",
                                     "windows-key-owner"};
    ScopedRegistryValue ntOwner{HKEY_LOCAL_MACHINE, kWindowsNtKey, "RegisteredOwner",
                                "nt-key-owner"};
    ScopedRegistryValue kernel{HKEY_LOCAL_MACHINE, kWindowsNtKey, "CurrentType", "Test Kernel"};
};

TEST_F(WindowsInformation, EachWindowsVersionReadsItsOwnKeys) {
    const ShownRows xp = rowsUnder("winxp");
    ASSERT_TRUE(xp.has("Platform")) << ::testing::PrintToString(xp.order);
    EXPECT_EQ(xp.value("Platform"), "Microsoft Windows XP ");
    EXPECT_EQ(xp.value("Version"), "Professional ");
    EXPECT_EQ(xp.value("Service Pack"), "Service Pack 3 (Build 2600)");
    EXPECT_EQ(xp.value("Windows Product ID"), "windows-key-id");
    EXPECT_EQ(xp.value("Registered Owner"), "nt-key-owner");
    ASSERT_TRUE(xp.has("Kernel Type"));
    EXPECT_EQ(xp.value("Kernel Type"), "Test Kernel");

    const ShownRows server = rowsUnder("win2003");
    ASSERT_TRUE(server.has("Platform")) << ::testing::PrintToString(server.order);
    EXPECT_EQ(server.value("Platform"), "Microsoft Windows Server 2003 family, ");
    EXPECT_EQ(server.value("Windows Product ID"), "nt-key-id");
    EXPECT_EQ(server.value("Registered Owner"), "nt-key-owner");
    EXPECT_FALSE(server.has("Kernel Type"));

    const ShownRows nine = rowsUnder("win98");
    ASSERT_TRUE(nine.has("Platform")) << ::testing::PrintToString(nine.order);
    EXPECT_EQ(nine.value("Platform"), "Microsoft Windows 98 ");
    EXPECT_EQ(nine.value("Version"), "SE ");
    EXPECT_EQ(nine.value("Service Pack"), "");
    EXPECT_EQ(nine.value("Windows Product ID"), "windows-key-id");
    EXPECT_EQ(nine.value("Registered Owner"), "windows-key-owner");
    EXPECT_FALSE(nine.has("Kernel Type"));

    // Newer Windows versions by name and build, although a version query
    // without a manifest (as this program's) is told 6.2 on 8.1 and 10. Wine's
    // win7 setting reports a server product, which makes it 2008 R2.
    const struct {
        const char* setting;
        const char* platform;
        const char* build;
    } modern[] = {{"vista", "Microsoft Windows Vista ", "Service Pack 2 (Build 6002)"},
                  {"win2008", "Microsoft Windows Server 2008 ", "Service Pack 2 (Build 6002)"},
                  {"win7", "Microsoft Windows Server 2008 R2 ", "Service Pack 1 (Build 7601)"},
                  {"win81", "Microsoft Windows 8.1 ", "(Build 9600)"},
                  {"win10", "Microsoft Windows 10 ", "(Build 18362)"}};
    for (const auto& windows : modern) {
        const ShownRows rows = rowsUnder(windows.setting);
        ASSERT_TRUE(rows.has("Platform")) << ::testing::PrintToString(rows.order);
        EXPECT_EQ(rows.value("Platform"), windows.platform);
        EXPECT_EQ(rows.value("Service Pack"), windows.build);
        EXPECT_EQ(rows.value("Windows Product ID"), "nt-key-id");
        EXPECT_FALSE(rows.has("Kernel Type"));
    }
}

TEST_F(WindowsInformation, FourSectionsFilledOnceWithTheirPictures) {
    sysinfo::TddiForm devices;
    sysinfo::TWinInfoForm1 form(devices);
    form.show();
    const ShownRows rows = readRows(form.TeListView1);
    const std::vector<std::string> headings = {"Operating System Information",
                                               "General Os Information", "Regional Settings",
                                               "Mouse Info:", "System Info:"};
    size_t last = 0;
    for (const std::string& heading : headings) {
        const auto at = std::find(rows.order.begin(), rows.order.end(), heading);
        ASSERT_NE(at, rows.order.end()) << heading;
        EXPECT_GE(static_cast<size_t>(at - rows.order.begin()), last) << heading;
        last = static_cast<size_t>(at - rows.order.begin());
        EXPECT_EQ(rows.byItem.at(heading).indent, 0);
        // A blank row closes the section before.
        if (heading != headings.front()) {
            EXPECT_EQ(*(at - 1), "") << heading;
        }
    }
    EXPECT_EQ(rows.byItem.at("Operating System Information").image, 7);
    EXPECT_EQ(rows.byItem.at("General Os Information").image, 1);
    EXPECT_EQ(rows.byItem.at("Service Pack").image, 11);
    EXPECT_EQ(rows.byItem.at("Service Pack").indent, 1);
    EXPECT_EQ(rows.byItem.at("Page size:").image, 0);
    EXPECT_EQ(rows.value("Page size:"), "4096");
    EXPECT_EQ(rows.order.back(), "System Directory");
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    EXPECT_EQ(rows.value("System Directory"), system);
    EXPECT_EQ(rows.value("Ansi Code Page"), std::to_string(GetACP()));
    int mouse[3] = {};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETMOUSE, 0, mouse, 0));
    EXPECT_EQ(rows.value("Mouse Threshold (x and y)"), std::to_string(mouse[0] + mouse[1]));
    const int count = form.TeListView1.count();

    form.hide();
    form.show();
    EXPECT_EQ(form.TeListView1.count(), count);
    // The height follows the screen; the window is centred on it.
    EXPECT_EQ(form.clientHeight(), static_cast<int>(GetSystemMetrics(SM_CYSCREEN) * 0.55));
    EXPECT_EQ(form.top(), GetSystemMetrics(SM_CYSCREEN) / 2 - form.height() / 2);
}

// What the device setup functions report directly: the names of the
// classes with a device present, and the names of their devices.
std::map<std::string, std::vector<std::string>> presentDevicesByClass() {
    std::map<std::string, std::vector<std::string>> classes;
    HDEVINFO all =
        SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT);
    if (all == INVALID_HANDLE_VALUE) return classes;
    std::set<std::string> names;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof device;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(all, i, &device); ++i) {
        char name[1000] = {};
        if (SetupDiClassNameFromGuidA(&device.ClassGuid, name, sizeof name, nullptr))
            names.insert(name);
    }
    SetupDiDestroyDeviceInfoList(all);
    for (const std::string& name : names) {
        GUID guid;
        DWORD required = 0;
        if (!SetupDiClassGuidsFromNameA(name.c_str(), &guid, 1, &required)) continue;
        HDEVINFO set = SetupDiGetClassDevsA(&guid, nullptr, nullptr, DIGCF_PRESENT);
        std::vector<std::string>& devices = classes[name];
        for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
            char text[1000] = {};
            const bool named = SetupDiGetDeviceRegistryPropertyA(
                                   set, &device, SPDRP_FRIENDLYNAME, nullptr,
                                   reinterpret_cast<BYTE*>(text), sizeof text, nullptr) ||
                               SetupDiGetDeviceRegistryPropertyA(
                                   set, &device, SPDRP_DEVICEDESC, nullptr,
                                   reinterpret_cast<BYTE*>(text), sizeof text, nullptr);
            if (named && text[0]) devices.push_back(text);
        }
        SetupDiDestroyDeviceInfoList(set);
    }
    return classes;
}

std::vector<std::string> classList(const sysinfo::TddiForm& form) {
    std::vector<std::string> names;
    for (int i = 0; i < form.TeListBox1.count(); ++i) names.push_back(form.classNameOf(i));
    return names;
}

TEST(DeviceWindow, ClassesDevicesAndResourcesAsTheSystemReportsThem) {
    int boxes = 0;
    win::setMessageBoxHandler([&](const win::MessageBoxRequest&) {
        ++boxes;
        return IDOK;
    });
    const auto expected = presentDevicesByClass();
    ASSERT_FALSE(expected.empty());

    sysinfo::TddiForm form;
    form.show();
    std::vector<std::string> shown = classList(form);
    const std::set<std::string> distinct(shown.begin(), shown.end());
    EXPECT_EQ(distinct.size(), shown.size());
    std::set<std::string> expectedNames;
    for (const auto& entry : expected) expectedNames.insert(entry.first);
    EXPECT_EQ(distinct, expectedNames);
    ASSERT_NE(form.waitForm(), nullptr);
    EXPECT_FALSE(form.waitForm()->visible());
    for (int i = 0; i < form.TeListBox1.count(); ++i) EXPECT_NE(form.TeListBox1.line(i), "") << i;

    // The class with the most devices: its devices in the middle list.
    int chosen = 0;
    for (int i = 0; i < form.TeListBox1.count(); ++i)
        if (expected.at(form.classNameOf(i)).size() > expected.at(form.classNameOf(chosen)).size())
            chosen = i;
    const std::string className = form.classNameOf(chosen);
    form.TeListBox1.setItemIndex(chosen);
    form.TeListBox1Click();
    EXPECT_EQ(form.GroupBox1.text(), className);
    std::vector<std::string> devices;
    for (int i = 0; i < form.TeListBox2.count(); ++i) devices.push_back(form.TeListBox2.line(i));
    EXPECT_EQ(devices, expected.at(className));
    EXPECT_TRUE(IsWindowEnabled(form.handle()));
    EXPECT_FALSE(form.waitForm()->visible());

    // The prefix's devices hold no configuration, so each is resource free.
    form.TeListBox2.setItemIndex(0);
    form.TeListBox2Click();
    EXPECT_EQ(form.TeMemo1.lines(), std::vector<std::string>{"This device is resource free"});

    // Closed and shown again: the list is built afresh, every class once.
    ASSERT_TRUE(form.close());
    EXPECT_EQ(form.TeListBox1.count(), 0);
    EXPECT_EQ(form.waitForm(), nullptr);
    form.show();
    EXPECT_EQ(classList(form), shown);
    EXPECT_EQ(boxes, 0);
    form.close();
    win::setMessageBoxHandler({});
}

}  // namespace
