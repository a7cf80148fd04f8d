#include "shell/restore_form.h"

#include <windows.h>

#include "common/message_box.h"
#include "common/ui/application.h"
#include "repair/backup_date.h"
#include "repair/restore_run.h"
#include "repair/settings.h"
#include "shell/working_form.h"

namespace sysrepair {

namespace {

ui::WindowOptions restoreWindowOptions() {
    ui::WindowOptions o;
    o.caption = "Restore previous system state";
    o.clientWidth = 520;
    o.clientHeight = 279;
    o.frame = ui::Frame::Dialog;
    o.minimizeBox = true;
    o.maximizeBox = true;
    return o;
}

ui::ListViewOptions backupListOptions() {
    ui::ListViewOptions o;
    o.report = true;
    o.fullRowSelect = true;
    return o;
}

}  // namespace

TScanRestoreForm::TScanRestoreForm()
    : ui::Window(restoreWindowOptions()),
      Label1(add<ui::Label>(ui::Bounds{16, 16, 397, 14}, "")),
      GroupBox1(add<ui::GroupBox>(ui::Bounds{8, 32, 497, 201}, "Previous Changes")),
      TeListView1(
          add<ui::ListView>(GroupBox1.inside(ui::Bounds{8, 16, 481, 169}), backupListOptions())),
      Bevel1(add<ui::Bevel>(ui::Bounds{16, 240, 393, 1})),
      TeButton1(add<ui::Button>(ui::Bounds{144, 248, 129, 25}, "Restore Last Changes")),
      TeButton2(add<ui::Button>(ui::Bounds{296, 248, 73, 25}, "Cancel")) {
    TeListView1.addColumn("Date", 150);
    TeListView1.addColumn("Description", 250);
    TeListView1.addColumn("Changes", 60);
    TeListView1.onSelectionChange = [this] { selectionChanged(); };
    TeButton1.onClick = [this] { TeButton1Click(); };
    TeButton2.onClick = [this] { TeButton2Click(); };
    setDefaultButton(TeButton1);
    setCancelButton(TeButton2);
    setFirstFocus(TeListView1);
    onShow = [this] { FormShow(); };
    onClose = [this] { FormClose(); };
    centre();
}

void TScanRestoreForm::FormShow() {
    backups_ = getSettings()->backups();
    newest_ = readNewestBackup();

    TeListView1.clear();
    if (backups_.empty()) {
        Label1.setText("There are no backups to be restored");
        return;
    }
    Label1.setText("Click Restore to undo the last changes made to your system.");
    for (const BackupIndex::BackupEntry& backup : backups_) {
        const int row = TeListView1.addItem(backupDateText(backup.time));
        TeListView1.setSubItem(row, 1, backup.summary);
        TeListView1.setSubItem(row, 2, std::to_string(countBackupEntries(backup.folder)));
    }
    TeListView1.select(0);
    selectionChanged();
}

int TScanRestoreForm::chosenRow() const {
    if (backups_.empty()) return -1;
    const int row = TeListView1.selected();
    return row < 0 || row >= static_cast<int>(backups_.size()) ? 0 : row;
}

void TScanRestoreForm::selectionChanged() {
    TeButton1.setText(chosenRow() > 0 ? "Restore Selected Changes" : "Restore Last Changes");
}

void TScanRestoreForm::TeButton1Click() {
    const int row = chosenRow();
    if (row < 0) return;
    const BackupIndex::BackupEntry chosen = backups_[static_cast<size_t>(row)];
    const std::string date = backupDateText(chosen.time);
    if (row > 0) {
        const std::string later =
            row == 1 ? "one repair was" : std::to_string(row) + " repairs were";
        if (win::showMessageBox(
                handle(),
                "Since the repair of " + date + ", " + later +
                    " made.\n\nRestoring this backup undoes only the repair of " + date +
                    ". What later repairs changed stays as it is, and their backups stay "
                    "restorable.\n\nRestore the changes of " +
                    date + "?",
                "Restore Older Changes", MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
    }
    const SlotBackup backup = row == 0 ? newest_ : readBackup(chosen.folder);
    if (backup.empty()) {
        win::showMessageBox(handle(), "This backup holds nothing that can be restored.",
                            "Restore previous system state", MB_OK | MB_ICONWARNING);
        return;
    }

    // The working window enables the main window when it goes; a main window
    // that was disabled (by this dialog, when modal) stays so until it closes.
    const ui::Window* mainWindow = ui::Application::mainWindow();
    const HWND main = mainWindow ? mainWindow->handle() : nullptr;
    const bool mainWasEnabled = main && IsWindowEnabled(main);
    showWorking(Work::Restore);
    const RestoreResult result = restoreBackup(backup);
    hideWorking();
    if (main && !mainWasEnabled) EnableWindow(main, FALSE);

    const RestoreMessage message =
        restoreMessage(result, row == 0 ? "the last repair" : "the repair of " + date);
    win::showMessageBox(handle(), message.text, message.caption,
                        MB_OK | (message.warning ? MB_ICONWARNING : 0));
    close();
}

void TScanRestoreForm::TeButton2Click() {
    close();
}

void TScanRestoreForm::FormClose() {
    newest_ = SlotBackup();
}

void showRestoreDialog() {
    TScanRestoreForm form;
    form.showModal();
}

}  // namespace sysrepair
