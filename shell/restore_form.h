// The restore dialog: lists the recorded backups, newest first, with their
// dates, summaries and counts, and undoes the repair of the chosen one (the
// newest unless the user picks another) from its backup slot. Made afresh for
// every opening.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "common/ui/bevel.h"
#include "common/ui/button.h"
#include "common/ui/group_box.h"
#include "common/ui/label.h"
#include "common/ui/list_view.h"
#include "common/ui/window.h"
#include "repair/backup_index.h"
#include "repair/restore_run.h"

namespace sysrepair {

class TScanRestoreForm : public ui::Window {
public:
    TScanRestoreForm();

    ui::Label& Label1;
    ui::GroupBox& GroupBox1;
    ui::ListView& TeListView1;
    ui::Bevel& Bevel1;
    ui::Button& TeButton1;  // "Restore Last Changes", or "Restore Selected Changes"
    ui::Button& TeButton2;  // "Cancel"

    // Reads the newest backup's reports and lists the backups, the newest
    // chosen.
    void FormShow();
    // Undoes every entry of the chosen backup (after a question when newer
    // ones exist), removes it from the index when all came back, and closes.
    void TeButton1Click();
    void TeButton2Click();
    void FormClose();
    // The button names what it restores.
    void selectionChanged();

    // The reports of the newest backup as read when the dialog was shown.
    const SlotBackup& newestBackup() const { return newest_; }
    // The row chosen (0 for the newest), -1 without backups.
    int chosenRow() const;

private:
    SlotBackup newest_;
    std::deque<BackupIndex::BackupEntry> backups_;
};

// What the main window's Restore button does: makes the dialog, shows it
// modally and destroys it when it closes.
void showRestoreDialog();

}  // namespace sysrepair
