#include "shell/plugin_form.h"

#include <shellapi.h>

#include "common/message_box.h"
#include "common/suite_windows.h"
#include "common/thread.h"
#include "common/ui/application.h"
#include "common/ui/synchronize.h"
#include "repair/repair_run.h"
#include "repair/settings.h"
#include "scan/categories/categories.h"
#include "scan/kept_items.h"
#include "scan/scan_flags.h"
#include "scan/task_manager.h"
#include "scan/walk/drive_table.h"
#include "shell/caption_area.h"
#include "shell/details_form.h"
#include "shell/kept_items_form.h"
#include "shell/problem_space.h"
#include "shell/restore_form.h"
#include "shell/skin/skin_art.h"

namespace sysrepair {

using sysrepair::ITask;
using sysrepair::TaskManager;

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kOlive = RGB(128, 128, 0);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

// Verdana at the pixel heights of the artwork: 12 px is 9 points, 15 px 11
// points, 19 px 14 points.
const ui::FontSpec kText{"Verdana", 9, false};
const ui::FontSpec kTextBold{"Verdana", 9, true};
const ui::FontSpec kHeadline{"Verdana", 11, true};
const ui::FontSpec kRunningCaption{"Verdana", 14, false};

const char kScanningCaption[] = "Scanning...";
const char kWelcomeText[] =
    "Welcome to Mendora.  Mendora will scan your system for possible system errors and if found "
    "show and repair them for you. ";
const char kStartText[] =
    "Click the \"Start Scan\" button below to begin scanning. If you'd like to optimize Mendora "
    "and only allow it to scan certain areas on your system, click the \"Optimize\" button "
    "below.";
const char kAdviceText[] =
    "To repair the problems click the \"Make Repairs\" button.   To ignore the problems for now "
    "and run a scan later, click the \"Don't Repair\" button below.";

ui::WindowOptions formOptions() {
    ui::WindowOptions o;
    o.caption = "Mendora";
    o.clientWidth = 730;
    o.clientHeight = 595;
    o.frame = ui::Frame::None;
    o.minimizeBox = true;
    o.maximizeBox = true;
    // The updater finds the window by it.
    o.className = win::kMendoraMainWindowClass;
    // Makes Settings if the start-up code did not.
    o.stayOnTop = sysrepair::getSettings()->sourceTag() == "vs";
    return o;
}

ui::Window& windowWithCategories(ui::Window& window) {
    // The categories register with the task manager before anything reads
    // its list.
    sysrepair::createCategories();
    return window;
}

skin::TImageButton& skinned(skin::TImageButton& button, skin::SkinButton picture) {
    skin::applyButtonPictures(button, picture);
    return button;
}

ui::Label& styled(ui::Label& label, const ui::FontSpec& font, COLORREF colour) {
    label.setFont(font);
    label.setFontColour(colour);
    return label;
}

const ui::LabelOptions kWrap{ui::Align::Left, true};
const ui::LabelOptions kCentred{ui::Align::Centre, false};
const ui::LabelOptions kCentredWrap{ui::Align::Centre, true};

}  // namespace

TSystemRepairForm::TSystemRepairForm()
    : ui::Window(formOptions()),
      Image1(windowWithCategories(*this).add<skin::SkinBackground>(skin::loadBackground())),
      ImageButton1(skinned(add<skin::TImageButton>(ui::Bounds{416, 80, 121, 30}),
                           skin::SkinButton::Restore)),
      ImageButton7(
          skinned(add<skin::TImageButton>(ui::Bounds{544, 80, 89, 36}), skin::SkinButton::Update)),
      ImageButton5(skinned(add<skin::TImageButton>(ui::Bounds{648, 16, 33, 33}),
                           skin::SkinButton::Minimize)),
      ImageButton6(
          skinned(add<skin::TImageButton>(ui::Bounds{682, 16, 33, 33}), skin::SkinButton::Close)),
      ImageButton2(skinned(add<skin::TImageButton>(ui::Bounds{60, 163, 197, 62}),
                           skin::SkinButton::WindowsInfo)),
      ImageButton3(skinned(add<skin::TImageButton>(ui::Bounds{61, 235, 196, 60}),
                           skin::SkinButton::Products)),
      ImageButton4(skinned(add<skin::TImageButton>(ui::Bounds{62, 305, 195, 64}),
                           skin::SkinButton::SupportChat)),
      Panel1(add<ui::Panel>(ui::Bounds{288, 152, 425, 297}, kWhite)),
      Label5(styled(Panel1.add<ui::Label>(ui::Bounds{5, 0, 417, 28}, kWelcomeText, kWrap), kText,
                    kGrey)),
      Label7(styled(Panel1.add<ui::Label>(ui::Bounds{6, 35, 418, 42}, kStartText, kWrap), kText,
                    kGrey)),
      Label10(styled(Panel1.add<ui::Label>(ui::Bounds{16, 88, 200, 14}, "Mendora will scan:"),
                     kTextBold, kOlive)),
      TeListBox1(Panel1.add<ui::ListBox>(ui::Bounds{16, 104, 401, 132})),
      ImageButton8(skinned(Panel1.add<skin::TImageButton>(ui::Bounds{16, 248, 177, 49}),
                           skin::SkinButton::StartScan)),
      ImageButton9(skinned(Panel1.add<skin::TImageButton>(ui::Bounds{216, 248, 177, 49}),
                           skin::SkinButton::Optimize)),
      KeptItemsButton(Panel1.add<ui::Button>(ui::Bounds{312, 82, 105, 20}, "Kept Items...")),
      Panel2(add<ui::Panel>(ui::Bounds{288, 136, 425, 313}, kWhite)),
      Label20(styled(Panel2.add<ui::Label>(ui::Bounds{6, 0, 419, 28}, kScanningCaption, kCentred),
                     kRunningCaption, kOlive)),
      TeRichEdit1(
          Panel2.add<ui::RichText>(ui::Bounds{8, 24, 401, 217}, ui::RichTextOptions{true, false})),
      ImageButton10(skinned(Panel2.add<skin::TImageButton>(ui::Bounds{120, 248, 177, 49}),
                            skin::SkinButton::CancelScan)),
      Label21(Panel2.add<ui::Label>(ui::Bounds{8, 260, 100, 14}, "Preparing scan...")),
      Label22(Panel2.add<ui::Label>(ui::Bounds{8, 276, 200, 14},
                                    "Please wait while we scan your system!")),
      Panel3(add<ui::Panel>(ui::Bounds{280, 136, 425, 321}, kWhite)),
      Label16(styled(Panel3.add<ui::Label>(ui::Bounds{24, 8, 401, 14},
                                           "System scan is complete and we found:", kCentred),
                     kText, kGrey)),
      Label17(
          styled(Panel3.add<ui::Label>(ui::Bounds{16, 51, 401, 18}, "Possible Problems", kCentred),
                 kHeadline, kRed)),
      Label18(styled(Panel3.add<ui::Label>(ui::Bounds{24, 96, 393, 57}, kAdviceText, kCentredWrap),
                     kText, kGrey)),
      SpaceLabel(styled(Panel3.add<ui::Label>(ui::Bounds{16, 70, 401, 26}, "", kCentredWrap), kText,
                        kGrey)),
      ImageButton12(skinned(Panel3.add<skin::TImageButton>(ui::Bounds{32, 176, 177, 49}),
                            skin::SkinButton::MakeRepairs)),
      ImageButton14(skinned(Panel3.add<skin::TImageButton>(ui::Bounds{216, 176, 177, 49}),
                            skin::SkinButton::ProblemReport)),
      ImageButton11(skinned(Panel3.add<skin::TImageButton>(ui::Bounds{124, 240, 177, 49}),
                            skin::SkinButton::DontRepair)) {
    Image1.sendToBack();
    TeListBox1.setFont(kText);
    TeRichEdit1.setFont(kText);
    Label21.setVisible(false);
    Label22.setVisible(false);
    Panel2.setVisible(false);
    Panel3.setVisible(false);

    ImageButton8.PictureClick = [this](skin::TImageButton&) { ImageButton8PictureClick(); };
    ImageButton9.PictureClick = [this](skin::TImageButton&) { ImageButton9PictureClick(); };
    KeptItemsButton.onClick = [] { sysrepair::showKeptItemsDialog(); };
    TeListBox1.onDoubleClick = [this] { ImageButton9PictureClick(); };
    ImageButton10.PictureClick = [this](skin::TImageButton&) { ImageButton10PictureClick(); };
    ImageButton12.PictureClick = [this](skin::TImageButton&) { ImageButton12PictureClick(); };
    ImageButton11.PictureClick = [this](skin::TImageButton&) { ImageButton11PictureClick(); };
    ImageButton14.PictureClick = [this](skin::TImageButton&) { ImageButton14PictureClick(); };
    ImageButton1.PictureClick = [this](skin::TImageButton&) { ImageButton1PictureClick(); };
    ImageButton7.PictureClick = [this](skin::TImageButton&) { ImageButton7PictureClick(); };
    ImageButton4.PictureClick = [this](skin::TImageButton&) { ImageButton4PictureClick(); };
    ImageButton3.PictureClick = [this](skin::TImageButton&) { ImageButton3PictureClick(); };
    ImageButton2.PictureClick = [this](skin::TImageButton&) { ImageButton2PictureClick(); };
    ImageButton5.PictureClick = [this](skin::TImageButton&) { ImageButton5PictureClick(); };
    ImageButton6.PictureClick = [this](skin::TImageButton&) { ImageButton6PictureClick(); };

    // The keyboard starts on the panel's first button, then reaches the
    // buttons around it.
    setTabOrder({&ImageButton8, &ImageButton9, &KeptItemsButton, &TeListBox1, &ImageButton10,
                 &TeRichEdit1, &ImageButton12, &ImageButton14, &ImageButton11, &ImageButton1,
                 &ImageButton7, &ImageButton2, &ImageButton3, &ImageButton4, &ImageButton5,
                 &ImageButton6});
    setFirstFocus(ImageButton8);

    onShow = [this] { FormShow(); };
    onCloseQuery = [this] { return FormCloseQuery(); };
    onClose = [this] { FormClose(); };
    onQueryEndSession = [this] { return FormQueryEndSession(); };
    onEndSession = [this] { FormEndSession(); };
    setCaptionTest(sysrepair::isCaptionPoint);
    // The program's icon for the task bar; programs without it keep the
    // default.
    if (HICON icon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON"))
        SendMessageA(handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    centre();
    FormCreate();
}

TSystemRepairForm::~TSystemRepairForm() {
    // A window destroyed without a close (a test, an early exit) still ends
    // its threads before the controls they report into go.
    scanRun.stop();
}

void TSystemRepairForm::FormCreate() {
    setRoundedShape(width(), height() - 48, 30, 30);
}

void TSystemRepairForm::FormShow() {
    reloadAllCategories();
    setPosition(ui::Application::screenWidth() / 2 - width() / 2,
                (ui::Application::screenHeight() - height()) / 2);
    ImageButton11.setBounds(ui::Bounds{Panel3.width() / 2 - ImageButton11.width() / 2, 240,
                                       ImageButton11.width(), ImageButton11.height()});
    refillCategoryList();
}

void TSystemRepairForm::reloadAllCategories() {
    categories.clear();
    TaskManager* tm = TaskManager::instance();
    for (uint32_t i = 0; i < tm->taskCount(); ++i) categories.push_back(tm->taskAt(i));
}

void TSystemRepairForm::refillCategoryList() {
    TeListBox1.clear();
    for (ITask* task : categories) TeListBox1.addLine(task->name() + "  -  " + task->description());
}

void TSystemRepairForm::setScanCategories(const std::vector<ITask*>& chosen) {
    categories = chosen;
    refillCategoryList();
}

void TSystemRepairForm::showOnlyPanel(ui::Panel& panel) {
    Panel1.setVisible(&panel == &Panel1);
    Panel2.setVisible(&panel == &Panel2);
    Panel3.setVisible(&panel == &Panel3);
    // A button that went with its panel leaves the keyboard nowhere: it goes
    // on to the new panel's first button.
    keepFocusUsable();
}

void TSystemRepairForm::ImageButton8PictureClick() {
    scanRun.prepare(categories, *this);
    TeRichEdit1.clear();
    logEmpty = true;
    // The last run's "Running ... Scanner" is not this run's.
    Label20.setText(kScanningCaption);
    if (categories.empty()) {
        win::showMessageBox(handle(), "You must select at least one task.", "Mendora", MB_OK);
        return;
    }
    showOnlyPanel(Panel2);
    ImageButton1.setEnabled(false);
    ImageButton7.setEnabled(false);
    sysrepair::DriveTable::destroy();
    // A damaged list is told before the scan, which then keeps nothing.
    sysrepair::useKeptItemsForScan(handle());
    scanRun.begin();
}

void TSystemRepairForm::ImageButton9PictureClick() {
    if (taskSelectionForm) taskSelectionForm->showModal();
}

void TSystemRepairForm::cancelScan() {
    scanRun.cancel();
}

void TSystemRepairForm::ImageButton10PictureClick() {
    cancelScan();
    reloadAllCategories();
    // The list shows what the next scan covers: all of them again.
    refillCategoryList();
    showOnlyPanel(Panel1);
    ImageButton1.setEnabled(true);
    ImageButton7.setEnabled(true);
}

void TSystemRepairForm::ImageButton12PictureClick() {
    if (!sysrepair::makeRepairs(categories, engine, working)) return;
    showOnlyPanel(Panel1);
}

void TSystemRepairForm::ImageButton11PictureClick() {
    showOnlyPanel(Panel1);
}

void TSystemRepairForm::ImageButton14PictureClick() {
    std::vector<ITask*> withProblems;
    for (ITask* task : categories)
        if (task->problemCount() > 0) withProblems.push_back(task);
    TScanDetailsForm report;
    report.setReportTasks(withProblems);
    report.showModal();
    showChosenResults();
}

void TSystemRepairForm::showChosenResults() {
    // The headline keeps the count found; what is chosen goes below it.
    const std::vector<CategorySpace> space = spaceOf(categories);
    const std::string chosen = chosenText(space), files = spaceText(space, true);
    SpaceLabel.setText(chosen.empty() ? files : files.empty() ? chosen : chosen + " " + files);
}

void TSystemRepairForm::ImageButton1PictureClick() {
    sysrepair::showRestoreDialog();
}

void TSystemRepairForm::startProgram(const std::string& path) {
    // A program that cannot be started shows nothing: the result is not used.
    ShellExecuteA(handle(), "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TSystemRepairForm::ImageButton7PictureClick() {
    startProgram(sysrepair::getSettings()->installFolder() + "MendoraUpdater.exe");
}

void TSystemRepairForm::ImageButton4PictureClick() {
    startProgram(sysrepair::getSettings()->installFolder() + "Parleclient.exe");
}

void TSystemRepairForm::ImageButton3PictureClick() {
    startProgram(sysrepair::getSettings()->productsLink());
}

void TSystemRepairForm::ImageButton2PictureClick() {
    if (showWindowsInformation) showWindowsInformation();
}

void TSystemRepairForm::ImageButton5PictureClick() {
    ui::Application::minimize();
}

void TSystemRepairForm::ImageButton6PictureClick() {
    close();
}

bool TSystemRepairForm::FormCloseQuery() {
    // A repair or restore stopped halfway would leave the system half
    // changed: no close, and no question, until it is done.
    if (sysrepair::workInProgress()) return false;
    ITask* current = TaskManager::instance()->currentTask();
    if (current && current->isRunning()) {
        if (win::showMessageBox(handle(), "Abort scan and close Mendora?", "Mendora", MB_YESNO) !=
            IDYES)
            return false;
        hide();
        cancelScan();
        return true;
    }
    if (win::showMessageBox(handle(), "Close Mendora?", "Mendora", MB_YESNO) != IDYES) return false;
    hide();
    // A run between two categories has no running category, but it is still
    // under way: without a cancel the close would wait for the whole run.
    if (!sysrepair::scanFinished) cancelScan();
    return true;
}

void TSystemRepairForm::FormClose() {
    while (!sysrepair::scanFinished) win::pauseServingSentMessages(1);
    scanRun.stop();
    if (engine.isBound()) engine.unbind();
    TaskManager::release();
    sysrepair::DriveTable::destroy();
}

bool TSystemRepairForm::FormQueryEndSession() {
    // A scan can stop at any time; a repair or restore cannot.
    return !sysrepair::workInProgress();
}

void TSystemRepairForm::FormEndSession() {
    // Forced through a refusal: the work goes on while it may, and its
    // backup survives the end of the process.
    if (sysrepair::workInProgress()) return;
    // Without the close's questions: nobody would be there to answer them.
    hide();
    if (!sysrepair::scanFinished) cancelScan();
    closeUnasked();
}

void TSystemRepairForm::appendLogLine(const std::string& line, uint32_t colour, bool bold) {
    TeRichEdit1.append(logEmpty ? line : "\r\n" + line, colour, bold);
    logEmpty = false;
}

void TSystemRepairForm::scrollLogToEnd() {
    TeRichEdit1.scrollToEnd();
    // The log does not wrap: the caret at the end of a long path would leave
    // the start of every line out of view.
    SendMessageA(TeRichEdit1.handle(), WM_HSCROLL, SB_LEFT, 0);
}

void TSystemRepairForm::setRunningCaption(const std::string& caption) {
    Label20.setText(caption);
}

void TSystemRepairForm::showResultPanel() {
    SpaceLabel.setText(spaceText(spaceOf(categories), false));
    showOnlyPanel(Panel3);
    ImageButton1.setEnabled(true);
    ImageButton7.setEnabled(true);
}

void TSystemRepairForm::setRepairButtonsVisible(bool visible) {
    ImageButton12.setVisible(visible);
    ImageButton14.setVisible(visible);
}

void TSystemRepairForm::setResultTexts(const std::string& headline, const std::string& advice) {
    Label17.setText(headline);
    Label18.setText(advice);
}

void TSystemRepairForm::setAdviceColour(uint32_t colour) {
    Label18.setFontColour(colour);
}

}  // namespace sysrepair
