#include "chat/client/chat_window.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>

#include "chat/client/login_form.h"
#include "chat/line_actions.h"
#include "chat/session/support_addresses.h"
#include "common/message_box.h"
#include "common/ui/application.h"
#include "common/ui/synchronize.h"

namespace chatclient {

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kOlive = RGB(128, 128, 0);

const char kMessageSound[] = "sounds/message1.wav";
const char kSendSound[] = "sounds/send.wav";

ui::WindowOptions chatWindowOptions() {
    ui::WindowOptions o;
    o.caption = "Parleclient";
    o.clientWidth = 416;
    o.clientHeight = 574;
    o.frame = ui::Frame::Sizeable;
    o.stayOnTop = true;
    return o;
}

ui::RichTextOptions conversationOptions() {
    ui::RichTextOptions o;
    o.readOnly = true;
    o.wordWrap = true;
    return o;
}

ui::RichTextOptions inputOptions() {
    ui::RichTextOptions o;
    o.readOnly = false;
    o.wordWrap = true;
    return o;
}

ui::Label& titleLabel(ui::Label& label) {
    label.setFont(ui::FontSpec{"Verdana", 9, true});
    label.setFontColour(kOlive);
    return label;
}

}  // namespace

std::string timeStampPrefix(int hour, int minute, int second) {
    char text[16];
    std::snprintf(text, sizeof text, "[%02d:%02d:%02d] ", hour, minute, second);
    return text;
}

int chatClientHeight(int screenHeight) {
    return static_cast<int>(screenHeight * 0.7 - 25);
}

TParlewise::TParlewise(chatsession::ChatSession& chatSession)
    : ui::Window(chatWindowOptions()),
      Label2(titleLabel(add<ui::Label>(ui::Bounds{6, 10, 404, 16},
                                       "Brisklane Technologies Technical Support Chat",
                                       ui::LabelOptions{ui::Align::Centre, false}))),
      chatArea(add<ui::RichText>(ui::Bounds{7, 40, 401, 400}, conversationOptions())),
      chatInput(add<ui::RichText>(ui::Bounds{7, 470, 401, 57}, inputOptions())),
      Submit(add<ui::Button>(ui::Bounds{170, 537, 75, 25}, "&Submit")),
      session(chatSession) {
    chatArea.setFont(ui::FontSpec{"MS Sans Serif", 8, true});

    ui::MenuBar& menus = menuBar();
    ui::Menu& file = menus.addMenu("File");
    file.addItem("Login", [this] { Close1_oldClick(); });
    file.addItem("Logoff", [this] { Logoff1_oldClick(); });
    file.addItem("Exit", [this] { CustomItem1Click(); });
    ui::Menu& options = menus.addMenu("Options");
    CustomItem8 = &options.addItem("TimeStamp", [this] { timeStampClick(); });
    ui::Menu& help = menus.addMenu("Help");
    help.addItem("Visit Support", [this] { CustomItem6Click(); });

    Submit.onClick = [this] { SubmitClick(); };
    chatInput.onKeyDown = [this](unsigned key) { return chatInputKeyDown(key); };
    // The character of a swallowed Enter follows its key-down: no line break.
    chatInput.onKeyPress = [](char c) { return c == '\r' || c == '\n'; };
    setFirstFocus(chatInput);
    onShow = [this] { FormShow(); };
    onCloseQuery = [this] { return FormCloseQuery(); };
    onResize = [this] { FormResize(); };
    centre();
    FormResize();
    session.setView(this);
}

TParlewise::~TParlewise() {
    session.setView(nullptr);
}

std::string TParlewise::prefix() const {
    if (!CustomItem8 || !CustomItem8->checked()) return std::string();
    SYSTEMTIME now;
    GetLocalTime(&now);
    return timeStampPrefix(now.wHour, now.wMinute, now.wSecond);
}

void TParlewise::appendLine(const std::string& line, COLORREF colour) {
    chatArea.append(conversationEmpty ? line : "\r\n" + line, colour, true);
    conversationEmpty = false;
}

void TParlewise::showLine(const std::string& sender, const std::string& text, bool notice) {
    if (notice) {
        appendLine(prefix() + text, kRed);
        return;
    }
    appendLine(prefix() + sender + ": " + text, kRed);
    session.playSound(kMessageSound);
    chatArea.scrollToEnd();
}

void TParlewise::SubmitClick() {
    const std::string typed = chatInput.text();
    if (!typed.empty()) {
        const std::string line = typed.substr(0, kLongestLine);
        appendLine(prefix() + userName + ": " + line, kBlue);
        session.sendLine(line);
        session.playSound(kSendSound);
        chatInput.setFocus();
        chatInput.clear();
    }
    chatArea.scrollToEnd();
}

bool TParlewise::chatInputKeyDown(unsigned virtualKey) {
    if (virtualKey != VK_RETURN) return false;
    SubmitClick();
    return true;
}

void TParlewise::setStartChatEnabled(bool enabled) {
    if (loginForm) loginForm->Button1.setEnabled(enabled);
}

void TParlewise::flashIfUnfocused() {
    if (!hasFocus()) flash(lumonet::flashFlags, lumonet::flashCount, lumonet::flashIntervalMs);
}

bool TParlewise::askYesNo(const std::string& text, const std::string& caption) {
    return win::showMessageBox(handle(), text, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void TParlewise::showErrorBox(const std::string& text, const std::string& caption) {
    win::showMessageBox(handle(), text, caption, MB_OK | MB_ICONQUESTION);
}

void TParlewise::FormShow() {
    session.clearShutdown();
    // After the window has finished showing: the login form first.
    ui::post([this] {
        if (loginForm && visible()) loginForm->showModal();
    });
    if (HICON icon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON"))
        ui::Application::setIcon(icon);
    chatInput.setFocus();
}

bool TParlewise::FormCloseQuery() {
    if (win::showMessageBox(handle(), "Are you sure you want to exit?", "Confirm Exit",
                            MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    session.shutdown();
    return true;
}

void TParlewise::FormResize() {
    // The window's size follows the title and the screen; a resize by the
    // user is undone. The rule's own resize comes back here once.
    if (resizing) return;
    resizing = true;
    const int width = Label2.width() + Label2.width() / 4;
    const int height = chatClientHeight(ui::Application::screenHeight());
    if (clientWidth() != width || clientHeight() != height) setClientSize(width, height);
    const ui::Bounds area = chatArea.bounds();
    const ui::Bounds input = chatInput.bounds();
    const ui::Bounds submit = Submit.bounds();
    const int submitTop = height - submit.height - 10;
    const int inputTop = submitTop - input.height - 10;
    Label2.setBounds(
        ui::Bounds{width / 2 - Label2.width() / 2, Label2.top(), Label2.width(), Label2.height()});
    Submit.setBounds(
        ui::Bounds{width / 2 - submit.width / 2, submitTop, submit.width, submit.height});
    chatInput.setBounds(ui::Bounds{input.left, inputTop, width - 15, input.height});
    chatArea.setBounds(ui::Bounds{area.left, area.top, width - 15, inputTop - 50});
    resizing = false;
}

void TParlewise::Close1_oldClick() {
    if (loginForm) loginForm->showModal();
}

void TParlewise::Logoff1_oldClick() {
    session.closeSession(true);
}

void TParlewise::CustomItem1Click() {
    close();
}

void TParlewise::timeStampClick() {
    CustomItem8->setChecked(!CustomItem8->checked());
}

void TParlewise::CustomItem6Click() {
    ShellExecuteA(handle(), "open", chatsession::supportPageAddress().c_str(), nullptr, nullptr,
                  SW_SHOWNORMAL);
}

}  // namespace chatclient
