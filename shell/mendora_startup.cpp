#include "shell/mendora_startup.h"

#include <windows.h>

#include "common/message_box.h"
#include "common/suite_records.h"
#include "common/suite_registry.h"
#include "common/ui/program.h"
#include "repair/settings.h"
#include "shell/command_line.h"
#include "shell/command_run.h"
#include "shell/plugin_form.h"
#include "shell/task_selection_form.h"
#include "sysinfo/window/ddi_form.h"
#include "sysinfo/window/win_info_form.h"

namespace sysrepair {

namespace {

// The updater ends the process this names before it replaces Mendora's files.
bool recordProcessId() {
    win::SuiteRecordKey registry(win::kSuiteKey);
    return registry.writeInt(static_cast<int32_t>(GetCurrentProcessId()), win::kProcessIdValue);
}

// The windows of the whole run, the main window first.
class MendoraWindows : public ui::ProgramWindows {
public:
    MendoraWindows() : taskSelection(mainForm), windowsInformation(deviceInformation) {
        mainForm.setTaskSelectionForm(&taskSelection);
        mainForm.showWindowsInformation = [this] { windowsInformation.showModal(); };
    }
    ui::Window& mainWindow() override { return mainForm; }

private:
    TSystemRepairForm mainForm;
    TTaskSelForm taskSelection;
    // The device window first: the Windows information window opens it.
    sysinfo::TddiForm deviceInformation;
    sysinfo::TWinInfoForm1 windowsInformation;
};

}  // namespace

int runMendora(const std::string& arguments) {
    const CommandLine line = parseCommandLine(arguments);
    if (line.command != Command::Window) return runCommand(line);
    const bool stayOnTop = line.stayOnTop;
    ui::ProgramSteps steps;
    steps.mutexName = "MENDORA_EXECUTABLE";
    steps.title = "Mendora";
    steps.prepare = [stayOnTop] {
        if (!recordProcessId()) {
            win::showMessageBox(nullptr, "Error Writing to Registry.  Please run as an admin.",
                                "Non-privileged User", MB_OK);
            return -1;
        }
        if (stayOnTop) getSettings()->setSourceTag("vs");
        return 0;
    };
    steps.makeWindows = [] { return std::unique_ptr<ui::ProgramWindows>(new MendoraWindows()); };
    steps.release = releaseSettings;
    return ui::runProgram(steps);
}

}  // namespace sysrepair
