// Mendora's main window: a frameless skinned window that leads the user from
// the welcome panel (the categories to scan) through the scanning panel (the
// live log of the scan threads) to the results panel (repair, report or
// ignore). It also opens the restore dialog and starts the support chat, the
// updater and the products page.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/ui/button.h"
#include "common/ui/label.h"
#include "common/ui/list_box.h"
#include "common/ui/panel.h"
#include "common/ui/rich_text.h"
#include "common/ui/window.h"
#include "repair/repair_engine.h"
#include "scan/scan_run.h"
#include "scan/scan_view.h"
#include "scan/task.h"
#include "shell/scan_category_target.h"
#include "shell/skin/image_button.h"
#include "shell/skin/skin_background.h"
#include "shell/working_form.h"

namespace sysrepair {

class TSystemRepairForm : public ui::Window,
                          public sysrepair::ScanView,
                          public sysrepair::ScanCategoryTarget {
public:
    // Makes the eight categories and Settings if they do not exist yet; the
    // window stays above other windows when the source tag is "vs".
    TSystemRepairForm();
    ~TSystemRepairForm() override;

    // The dialogs that live as long as the program; made after this window.
    void setTaskSelectionForm(ui::Window* form) { taskSelectionForm = form; }
    // The Windows information window's action, supplied with that window.
    std::function<void()> showWindowsInformation;

    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    bool FormQueryEndSession();
    void FormEndSession();

    void ImageButton8PictureClick();   // Start scan
    void ImageButton9PictureClick();   // Optimize
    void ImageButton10PictureClick();  // Cancel scan
    void ImageButton12PictureClick();  // Make repairs
    void ImageButton11PictureClick();  // Don't repair
    void ImageButton14PictureClick();  // Problem report
    void ImageButton1PictureClick();   // Restore
    void ImageButton7PictureClick();   // Update program
    void ImageButton4PictureClick();   // Support chat
    void ImageButton3PictureClick();   // Products page
    void ImageButton2PictureClick();   // Windows information
    void ImageButton5PictureClick();   // Minimize
    void ImageButton6PictureClick();   // Close

    // ScanCategoryTarget: the categories the task selection dialog checked.
    void setScanCategories(const std::vector<sysrepair::ITask*>& categories) override;
    const std::vector<sysrepair::ITask*>& scanCategories() const { return categories; }

    // ScanView: called by the scan monitor on this thread.
    void appendLogLine(const std::string& line, uint32_t colour, bool bold) override;
    void scrollLogToEnd() override;
    void setRunningCaption(const std::string& caption) override;
    void showResultPanel() override;
    void setRepairButtonsVisible(bool visible) override;
    void setResultTexts(const std::string& headline, const std::string& advice) override;
    void setAdviceColour(uint32_t colour) override;

    skin::SkinBackground& Image1;
    skin::TImageButton& ImageButton1;
    skin::TImageButton& ImageButton7;
    skin::TImageButton& ImageButton5;
    skin::TImageButton& ImageButton6;
    skin::TImageButton& ImageButton2;
    skin::TImageButton& ImageButton3;
    skin::TImageButton& ImageButton4;

    ui::Panel& Panel1;
    ui::Label& Label5;
    ui::Label& Label7;
    ui::Label& Label10;
    ui::ListBox& TeListBox1;
    skin::TImageButton& ImageButton8;
    skin::TImageButton& ImageButton9;
    ui::Button& KeptItemsButton;

    ui::Panel& Panel2;
    ui::Label& Label20;
    ui::RichText& TeRichEdit1;
    skin::TImageButton& ImageButton10;
    ui::Label& Label21;
    ui::Label& Label22;

    ui::Panel& Panel3;
    ui::Label& Label16;
    ui::Label& Label17;
    ui::Label& Label18;
    ui::Label& SpaceLabel;  // the disk space the files found take
    skin::TImageButton& ImageButton12;
    skin::TImageButton& ImageButton14;
    skin::TImageButton& ImageButton11;

private:
    void reloadAllCategories();
    void refillCategoryList();
    void showOnlyPanel(ui::Panel& panel);
    void cancelScan();
    void startProgram(const std::string& path);
    // The results panel's count and space after the user chose what to
    // repair.
    void showChosenResults();

    std::vector<sysrepair::ITask*> categories;
    sysrepair::ScanRun scanRun;
    sysrepair::RepairEngine engine;
    sysrepair::WorkingWindow working;
    ui::Window* taskSelectionForm = nullptr;
    bool logEmpty = true;
};

}  // namespace sysrepair
