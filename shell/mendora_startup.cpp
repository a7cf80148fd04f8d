#include "mendora_startup.h"

#include <windows.h>

#include "application.h"
#include "message_box.h"
#include "plugin_form.h"
#include "registry_reader_writer.h"
#include "settings.h"
#include "task_selection_form.h"
#include "win_handles.h"

namespace sysrepair {

const char kMendoraKey[] = "SOFTWARE\\Brisklane Technologies\\Mendora\\";

namespace {

const char kMutexName[] = "MENDORA_EXECUTABLE";

bool recordProcessId() {
    RegistryReaderWriter registry;
    registry.setRoot(HKEY_LOCAL_MACHINE);
    if (!registry.setKey(kMendoraKey)) return false;
    return registry.writeInt(static_cast<int32_t>(GetCurrentProcessId()), "id");
}

void runWindows() {
    if (!ui::Application::initialize()) ui::Application::showException("User interface failed");
    ui::Application::setTitle("Mendora");
    // The first window made is the main window.
    TSystemRepairForm mainForm;
    TTaskSelForm taskSelection(mainForm);
    mainForm.setTaskSelectionForm(&taskSelection);
    ui::Application::run(mainForm);
}

}  // namespace

bool isStayOnTopSwitch(const std::string& arguments) {
    return arguments == "-source=vs";
}

int runMendora(const std::string& arguments) {
    // Lives until the process ends, so that later starts see it.
    static win::KernelHandle oneCopy;
    const HANDLE mutex = CreateMutexA(nullptr, FALSE, kMutexName);
    const DWORD created = GetLastError();
    oneCopy.reset(mutex);
    if (created == ERROR_ALREADY_EXISTS) return -1;

    if (!recordProcessId()) {
        showMessageBox(nullptr, "Error Writing to Registry.  Please run as an admin.",
                       "Non-privileged User", MB_OK);
        return -1;
    }
    if (isStayOnTopSwitch(arguments)) getSettings()->setSourceTag("vs");

    ui::guarded(runWindows);
    ui::guarded(releaseSettings);
    return 0;
}

}  // namespace sysrepair
