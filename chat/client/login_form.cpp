#include "chat/client/login_form.h"

#include <windows.h>

#include "chat/client/chat_window.h"
#include "chat/client/client_details_file.h"
#include "chat/client/login_rules.h"
#include "chat/session/support_addresses.h"
#include "chat/system_info.h"
#include "common/message_box.h"

namespace chatclient {

namespace {

const char kIntroduction[] =
    "Your name and email address is how we will identify you on our server, to begin your "
    "chat session please enter enter your name and email address in the boxes below.";

// Where an edit box sits inside its group box.
const int kEditLeft = 8;
const int kEditTop = 16;

ui::WindowOptions loginWindowOptions() {
    ui::WindowOptions o;
    o.caption = "Login";
    o.clientWidth = 313;
    o.clientHeight = 209;
    o.frame = ui::Frame::Dialog;
    o.minimizeBox = false;
    o.maximizeBox = false;
    o.stayOnTop = true;
    return o;
}

ui::Label& introduction(ui::Label& label) {
    label.setFont(ui::FontSpec{"Verdana", 8, false});
    label.setFontColour(RGB(128, 128, 0));
    return label;
}

std::string cut(const std::string& text) {
    return text.substr(0, kLoginTextLimit);
}

}  // namespace

TForm2::TForm2(TParlewise& chat, chatsession::ChatSession& chatSession)
    : ui::Window(loginWindowOptions()),
      Label1(introduction(add<ui::Label>(ui::Bounds{8, 8, 297, 40}, kIntroduction,
                                         ui::LabelOptions{ui::Align::Left, true}))),
      TeGroupBox2(add<ui::GroupBox>(ui::Bounds{8, 52, 297, 48}, "Your Name")),
      Edit1(add<ui::Edit>(TeGroupBox2.inside(ui::Bounds{kEditLeft, kEditTop, 281, 21}))),
      TeGroupBox3(add<ui::GroupBox>(ui::Bounds{8, 104, 297, 48}, "E-Mail Address")),
      Edit2(add<ui::Edit>(TeGroupBox3.inside(ui::Bounds{kEditLeft, kEditTop, 281, 21}))),
      TeGroupBox4(add<ui::GroupBox>(ui::Bounds{8, 260, 297, 48}, "Server Address")),
      Edit3(add<ui::Edit>(TeGroupBox4.inside(ui::Bounds{kEditLeft, kEditTop, 281, 21}),
                          chatsession::supportServerHost())),
      TeGroupBox5(add<ui::GroupBox>(ui::Bounds{8, 312, 297, 48}, "Port")),
      Edit4(add<ui::Edit>(TeGroupBox5.inside(ui::Bounds{kEditLeft, kEditTop, 281, 21}), "9191")),
      Button1(add<ui::Button>(ui::Bounds{118, 164, 75, 25}, "Start Chat")),
      chatWindow(chat),
      session(chatSession) {
    TeGroupBox5.setVisible(false);
    Edit4.setVisible(false);
    Button1.onClick = [this] { Button1Click(); };
    setDefaultButton(Button1);
    setFirstFocus(Edit1);
    onShow = [this] { FormShow(); };
    onClose = [this] { FormClose(); };
    centre();
}

void TForm2::placeGroup(ui::GroupBox& group, ui::Edit& edit, int left, int top) {
    group.setBounds(ui::Bounds{left, top, group.width(), group.height()});
    edit.setBounds(group.inside(ui::Bounds{kEditLeft, kEditTop, edit.width(), edit.height()}));
}

void TForm2::FormShow() {
    loadClientDetails();
    Label1.fitHeightToText();
    const int nameTop = Label1.top() + Label1.height() + 4;
    const int mailTop = nameTop + TeGroupBox3.height() + 3;
    const int buttonTop = mailTop + TeGroupBox3.height() + 10;
    const int width = Label1.width() + 15;
    setClientSize(width, Label1.height() + TeGroupBox2.height() + TeGroupBox3.height() +
                             Button1.height() + 50);
    Label1.setBounds(
        ui::Bounds{width / 2 - Label1.width() / 2, Label1.top(), Label1.width(), Label1.height()});
    placeGroup(TeGroupBox2, Edit1, width / 2 - TeGroupBox2.width() / 2, nameTop);
    placeGroup(TeGroupBox3, Edit2, width / 2 - TeGroupBox3.width() / 2, mailTop);
    Button1.setBounds(
        ui::Bounds{width / 2 - Button1.width() / 2, buttonTop, Button1.width(), Button1.height()});
    centre();
    Edit1.setFocus();
}

void TForm2::FormClose() {
    chatWindow.chatInput.setFocus();
}

void TForm2::loadClientDetails() {
    ClientDetails details{Edit1.text(), Edit2.text(), Edit3.text(), Edit4.text()};
    if (!loadClientDetailsFile(details)) return;
    Edit1.setText(details.name);
    Edit2.setText(details.email);
    Edit3.setText(details.server);
    Edit4.setText(details.port);
}

void TForm2::saveClientDetails() {
    if (!saveClientDetailsFile(
            ClientDetails{Edit1.text(), Edit2.text(), Edit3.text(), Edit4.text()}))
        win::showMessageBox(handle(), "Could not save changes", "LumoError",
                            MB_OK | MB_ICONQUESTION);
}

void TForm2::Button1Click() {
    // One connect of the user's at a time.
    if (session.connecting() && !session.reconnecting()) return;
    const std::string name = cut(Edit1.text());
    const std::string email = cut(Edit2.text());
    const std::string port = cut(Edit4.text());
    // The server box is not used for connecting: the host is configuration.
    const std::string host = chatsession::supportServerHost();
    const std::string systemInfo = lumonet::systemInfoText(lumonet::readSystemInfo());

    std::string problem;
    if (!validateName(name, problem)) {
        win::showMessageBox(handle(), problem, "Name Error", MB_OK | MB_ICONQUESTION);
        return;
    }
    if (!validateEmail(email)) {
        win::showMessageBox(handle(), "You Must Enter a Valid E-Mail Address.", "E-Mail Error",
                            MB_OK | MB_ICONQUESTION);
        return;
    }
    chatWindow.setUserName(name);
    chatWindow.setServer(host);
    chatWindow.setEmail(email);
    saveClientDetails();
    // The form stays, its button disabled, until the connect has ended
    // (TParlewise::connectEnded closes it), so that a failure's box is owned
    // by it.
    session.connectToServer(host, name, email, port, systemInfo);
}

}  // namespace chatclient
