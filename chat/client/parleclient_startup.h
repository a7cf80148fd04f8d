// Parleclient from start to end: one running copy, the socket library, the
// windows, the message loop and the orderly end of the session engine.
#pragma once

#include <functional>
#include <memory>

#include "chat/session/chat_session.h"
#include "common/ui/program.h"

namespace chatclient {

using MakeChatWindows =
    std::function<std::unique_ptr<ui::ProgramWindows>(chatsession::ChatSession& session)>;

// Runs the program with the windows that `makeWindows` makes for the session;
// the process exit code: 0 after a normal end, -1 when a copy already runs.
int runParleclient(const MakeChatWindows& makeWindows);

// Runs the program with its windows: the chat window, then the login form.
int runParleclient();

}  // namespace chatclient
