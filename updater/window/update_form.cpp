#include "updater/window/update_form.h"

#include <windows.h>

#include "common/message_box.h"
#include "common/suite_records.h"
#include "common/suite_registry.h"
#include "common/ui/application.h"
#include "updater/install_transaction.h"

namespace updater {

namespace {

ui::WindowOptions updaterWindowOptions() {
    ui::WindowOptions o;
    o.caption = "Mendora Updater";
    o.clientWidth = 281;
    o.clientHeight = 154;
    o.frame = ui::Frame::Dialog;
    o.minimizeBox = true;
    o.maximizeBox = false;
    o.stayOnTop = true;
    return o;
}

ui::Label& title(ui::Label& label) {
    label.setFont(ui::FontSpec{"Verdana", 8, true});
    label.setFontColour(RGB(128, 128, 0));
    return label;
}

// The trace log of one run: the polls of a slow server add a line every
// few milliseconds, so only the newest lines are kept.
const int kTraceLines = 2000;
const int kStatusBarHeight = 25;

ui::Memo& hidden(ui::Memo& memo) {
    memo.setVisible(false);
    memo.setLineLimit(kTraceLines);
    return memo;
}

}  // namespace

TForm1::TForm1()
    : ui::Window(updaterWindowOptions()),
      Label1(title(add<ui::Label>(ui::Bounds{0, 24, 281, 17}, "Mendora Updater",
                                  ui::LabelOptions{ui::Align::Centre, false}))),
      ProgressBar1(add<ui::ProgressBar>(ui::Bounds{16, 48, 253, 17})),
      ProgressBar2(add<ui::ProgressBar>(ui::Bounds{16, 72, 253, 17})),
      Button1(add<ui::Button>(ui::Bounds{88, 96, 113, 25}, "Check For Updates")),
      StatusBar1(add<ui::StatusBar>(std::vector<int>{500})),
      Memo1(hidden(add<ui::Memo>(ui::Bounds{8, 160, 249, 169}))),
      updaterHandle(std::make_unique<updater::UpdaterHandle>()) {
    ui::Menu& help = menuBar().addMenu("Help");
    UpdatetoBackups1 = &help.addItem("Restore previous version", [this] { CustomItem2Click(); });
    // The menu bar takes room from the window: the client area keeps its size.
    setClientSize(281, 154);
    StatusBar1.setPanelText(0, "Click \"Check For Updates\" to start Updating Mendora");
    Button1.onClick = [this] { Button1Click(); };
    setDefaultButton(Button1);
    setFirstFocus(Button1);
    // The bar's height the window's layout leaves for it.
    StatusBar1.setHeight(kStatusBarHeight);
    onShow = [this] { FormShow(); };
    onCloseQuery = [this] { return FormCloseQuery(); };
    // Log-off and shutdown wait while Mendora's files are being replaced.
    onQueryEndSession = [this] { return !filesChanging; };
    onClose = [this] { FormClose(); };
    centre();
}

void TForm1::processMessages() {
    ui::Application::processMessages();
}

int TForm1::ask(const std::string& text, const std::string& caption, unsigned flags) {
    return win::showMessageBox(handle(), text, caption, flags);
}

void TForm1::FormShow() {
    // An install that was cut off is finished or undone before anything else.
    switch (updater::resumeInterruptedInstall(*this, updater::closeMendora)) {
        case updater::Resumed::Finished:
            setStatus("The update that was interrupted has been completed.");
            break;
        case updater::Resumed::Undone:
            setStatus("The update that was interrupted has been undone.");
            break;
        case updater::Resumed::Postponed:
            setStatus("An interrupted update is completed once Mendora has finished its work.");
            break;
        case updater::Resumed::Nothing:
            break;
    }
    win::SuiteRecordKey reg(win::kBackupKey);
    bool read = false;
    const int32_t available = reg.readInt(win::kUserRestoredValue, read);
    UpdatetoBackups1->setEnabled(read && available == 1);
}

void TForm1::Button1Click() {
    UpdatetoBackups1->setEnabled(false);
    if (busy) return;
    Button1.setEnabled(false);
    busy = true;
    setItemProgress(0);
    setOverallProgress(0);
    trace("Getting File list...");
    updater::loadUpdateList(*this, updateList);
    trace("Complete");
    trace("Checking For Updates");
    const bool found = updater::CheckForUpdates(*this, updaterHandle.get(), updateList);
    trace("Done Checking for updates");
    // Closed during the check: the program ends without asking anything.
    if (updater::transfersCancelled(updaterHandle.get())) {
        busy = false;
        ui::Application::terminate();
        return;
    }
    if (!found)
        ask("Your current version of Mendora is up to date.", "Updater", MB_OK | MB_ICONQUESTION);
    setStatus("Check complete");
    busy = false;
    if (found && ask("Updates found.  Would you like to download and install them?",
                     "Updates Found", MB_YESNO) == IDYES)
        Button2Click();
    UpdatetoBackups1->setEnabled(true);
    Button1.setEnabled(true);
    // One check per run of the updater.
    ui::Application::terminate();
}

void TForm1::Button2Click() {
    if (busy) return;
    busy = true;
    changingFiles(true);
    updater::installUpdates(*this, updaterHandle.get(), updateList);
    changingFiles(false);
    busy = false;
    close();
}

void TForm1::UpdatetoBackups1Click() {
    updater::restorePreviousVersion(*this);
    changingFiles(false);
    ui::Application::terminate();
}

void TForm1::changingFiles(bool changing) {
    filesChanging = changing;
    setSessionEndBlock(changing ? "Mendora is being updated" : "");
}

bool TForm1::FormCloseQuery() {
    if (!busy) return true;
    updater::cancelTransfers(updaterHandle.get());
    return false;
}

void TForm1::FormClose() {
    if (updaterHandle) {
        updater::terminateDownloads();
        updaterHandle.reset();
    }
}

}  // namespace updater
