#include "chat/client/chat_window.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>

#include "chat/client/login_form.h"
#include "chat/line_actions.h"
#include "chat/session/support_addresses.h"
#include "common/message_box.h"
#include "common/ui/application.h"
#include "common/ui/save_file_dialog.h"
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
    // Before "Exit", with ids after those of the items above.
    file.insertItem(2, L"Save Conversation\u2026", [this] { saveConversationClick(); });
    stopReconnectingItem =
        &file.insertItem(3, L"Stop Reconnecting", [this] { stopReconnectingClick(); });
    stopReconnectingItem->setEnabled(false);

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

namespace {

LineTime lineTime(const SYSTEMTIME& t) {
    return LineTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace

std::string TParlewise::prefix() const {
    if (!CustomItem8 || !CustomItem8->checked() || lines.empty()) return std::string();
    const LineTime& t = lines.back().time;
    return timeStampPrefix(t.hour, t.minute, t.second);
}

void TParlewise::appendLine(const std::string& text, COLORREF colour, bool ownLine) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    lines.push_back(ConversationLine{lineTime(now), text});
    const std::string shown = conversationEmpty ? prefix() + text : "\r\n" + prefix() + text;
    conversationEmpty = false;
    if (ownLine) {
        chatArea.append(shown, colour, true);
        chatArea.scrollToEnd();
    } else {
        chatArea.appendFollowing(shown, colour, true);
    }
}

void TParlewise::showLine(const std::string& sender, const std::string& text, bool notice) {
    if (notice) {
        appendLine(text, kRed);
        return;
    }
    appendLine(sender + ": " + text, kRed);
    session.playSound(kMessageSound);
}

void TParlewise::presentInstantMessage(const std::string& sender, const std::string& text,
                                       bool alert) {
    // An alert in the notice style (its sound is the line's own), a plain
    // instant message as a chat line; both with their sender.
    if (alert)
        appendLine(sender + ": " + text, kRed);
    else
        showLine(sender, text, false);
}

void TParlewise::showConnectError(const std::string& text) {
    const HWND owner = loginForm && loginForm->visible() ? loginForm->handle() : handle();
    win::showMessageBoxWithDefaultCaption(owner, text, MB_OK | MB_ICONQUESTION);
}

void TParlewise::connectEnded(bool) {
    if (loginForm && loginForm->visible()) loginForm->close();
}

void TParlewise::setReconnecting(bool reconnecting) {
    if (stopReconnectingItem) stopReconnectingItem->setEnabled(reconnecting);
}

bool TParlewise::saveConversation(const std::wstring& path) const {
    return ui::writeNewFile(path, conversationText(lines));
}

void TParlewise::saveConversationClick() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string name = conversationFileName(lineTime(now));
    static const wchar_t kFilter[] = L"Text files (*.txt)\0*.txt\0All files (*.*)\0*.*\0";
    ui::SaveFileQuestion question;
    question.title = L"Save Conversation";
    question.suggestedName = std::wstring(name.begin(), name.end());
    question.filter = std::wstring(kFilter, sizeof kFilter / sizeof kFilter[0] - 1);
    question.defaultExtension = L"txt";
    std::wstring path;
    if (!ui::askSaveFileName(handle(), question, path)) return;
    if (!saveConversation(path))
        win::showMessageBox(handle(), "The conversation could not be saved there.",
                            "Save Conversation", MB_OK | MB_ICONERROR);
}

void TParlewise::stopReconnectingClick() {
    session.stopReconnecting();
}

void TParlewise::SubmitClick() {
    const std::string typed = chatInput.text();
    if (!typed.empty()) {
        const std::string line = typed.substr(0, kLongestLine);
        appendLine(userName + ": " + line, kBlue, true);
        session.sendLine(line);
        session.playSound(kSendSound);
        chatInput.setFocus();
        chatInput.clear();
    }
    chatArea.scrollToEnd();
}

bool TParlewise::chatInputKeyDown(unsigned virtualKey) {
    if (virtualKey != VK_RETURN) return false;
    // While the server holds the conversation ("/$talkingTo 0"), Enter sends
    // no more than the disabled button would; the key still makes no break.
    if (Submit.enabled()) SubmitClick();
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
