// The login form: asks for the user's name and e-mail address, checks them,
// remembers them in the client details file and starts the chat session.
#pragma once

#include <string>

#include "chat/session/chat_session.h"
#include "common/ui/button.h"
#include "common/ui/edit.h"
#include "common/ui/group_box.h"
#include "common/ui/label.h"
#include "common/ui/window.h"

namespace chatclient {

class TParlewise;

class TForm2 : public ui::Window {
public:
    TForm2(TParlewise& chatWindow, chatsession::ChatSession& session);

    void FormShow();
    void FormClose();
    void Button1Click();  // "Start Chat"

    // The boxes from the client details file; boxes keep their texts when it
    // cannot be read.
    void loadClientDetails();
    // Writes the file from the four boxes, whole; says so when it cannot.
    void saveClientDetails();

    ui::Label& Label1;
    ui::GroupBox& TeGroupBox2;
    ui::Edit& Edit1;  // name
    ui::GroupBox& TeGroupBox3;
    ui::Edit& Edit2;  // e-mail address
    ui::GroupBox& TeGroupBox4;
    ui::Edit& Edit3;  // server address, below the visible area
    ui::GroupBox& TeGroupBox5;
    ui::Edit& Edit4;  // port, invisible
    ui::Button& Button1;

private:
    // Moves a group box and the edit box laid over it.
    void placeGroup(ui::GroupBox& group, ui::Edit& edit, int left, int top);

    TParlewise& chatWindow;
    chatsession::ChatSession& session;
};

}  // namespace chatclient
