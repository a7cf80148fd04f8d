// MendoraUpdater's window: "Check For Updates", the two progress bars, the
// status bar, the hidden trace log, and the Help menu's "Restore previous
// version". It is the window the queries, the install and the restore report
// into.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/ui/button.h"
#include "common/ui/label.h"
#include "common/ui/memo.h"
#include "common/ui/menu_bar.h"
#include "common/ui/progress_bar.h"
#include "common/ui/status_bar.h"
#include "common/ui/window.h"
#include "updater/update_check.h"
#include "updater/update_install.h"
#include "updater/updater.h"

namespace updater {

class TForm1 : public ui::Window, public updater::InstallView {
public:
    TForm1();

    void FormShow();
    void Button1Click();  // Check For Updates
    void Button2Click();  // the install, after the user agreed
    void UpdatetoBackups1Click();
    void CustomItem2Click() { UpdatetoBackups1Click(); }
    // While a check or an install runs the window closes when its flow
    // ends: a transfer is cancelled at once, and nothing is installed.
    bool FormCloseQuery();
    void FormClose();

    // InstallView: the queries', the install's and the restore's calls.
    void trace(const std::string& line) override { Memo1.appendLine(line); }
    void setStatus(const std::string& text) override { StatusBar1.setPanelText(0, text); }
    void setItemProgress(int percent) override { ProgressBar1.setPosition(percent); }
    void setOverallProgress(int percent) override { ProgressBar2.setPosition(percent); }
    void disableCheckButton() override { Button1.setEnabled(false); }
    void processMessages() override;
    int ask(const std::string& text, const std::string& caption, unsigned flags) override;
    // While an install or a restore runs, the end of the session is refused.
    void changingFiles(bool changing) override;

    ui::MenuItem* UpdatetoBackups1 = nullptr;  // Help, "Restore previous version"
    ui::Label& Label1;
    ui::ProgressBar& ProgressBar1;
    ui::ProgressBar& ProgressBar2;
    ui::Button& Button1;
    ui::StatusBar& StatusBar1;
    ui::Memo& Memo1;  // the trace log, never shown

    bool isBusy() const { return busy; }

private:
    std::unique_ptr<updater::UpdaterHandle> updaterHandle;
    std::vector<updater::LumoFile> updateList;
    bool busy = false;
    bool filesChanging = false;
};

}  // namespace updater
