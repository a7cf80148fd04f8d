// The restore dialog: lists the recorded backups, newest first, and undoes
// the newest repair from its backup slot. Made afresh for every opening.
#pragma once

#include <string>
#include <vector>

#include "common/ui/bevel.h"
#include "common/ui/button.h"
#include "common/ui/group_box.h"
#include "common/ui/label.h"
#include "common/ui/list_view.h"
#include "common/ui/window.h"
#include "repair/restore_run.h"

namespace sysrepair {

class TScanRestoreForm : public ui::Window {
public:
    TScanRestoreForm();

    ui::Label& Label1;
    ui::GroupBox& GroupBox1;
    ui::ListView& TeListView1;
    ui::Bevel& Bevel1;
    ui::Button& TeButton1;  // "Restore Last Changes"
    ui::Button& TeButton2;  // "Cancel"

    // Reads the newest backup's reports and lists the backups.
    void FormShow();
    // Undoes every entry of the newest backup, removes the backup and closes.
    void TeButton1Click();
    void TeButton2Click();
    void FormClose();

    // The reports of the newest backup as read when the dialog was shown.
    const NewestBackup& newestBackup() const { return newest_; }

private:
    NewestBackup newest_;
};

// What the main window's Restore button does: makes the dialog, shows it
// modally and destroys it when it closes.
void showRestoreDialog();

}  // namespace sysrepair
