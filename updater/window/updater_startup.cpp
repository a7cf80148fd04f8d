#include "updater/window/updater_startup.h"

#include "common/ui/program.h"
#include "updater/window/update_form.h"

namespace updater {

namespace {

class UpdaterWindows : public ui::ProgramWindows {
public:
    ui::Window& mainWindow() override { return form; }

private:
    TForm1 form;
};

}  // namespace

int runMendoraUpdater() {
    ui::ProgramSteps steps;
    steps.mutexName = "MENDORA_UPDATER";
    steps.title = "MendoraUpdater";
    steps.makeWindows = [] { return std::unique_ptr<ui::ProgramWindows>(new UpdaterWindows()); };
    return ui::runProgram(steps);
}

}  // namespace updater
