// The support server's command port (chat/server/support_server.py), as the
// tests drive it: one command line, answered by its lines.
#pragma once

#include <string>
#include <vector>

#include "chat/socket_handle.h"

class SupportServerControl {
public:
    // Connects to the port named in MENDORA_SUPPORT_CONTROL.
    SupportServerControl();
    bool connected() const { return socket_.valid(); }

    // The answer's lines; empty when the server could not be asked.
    std::vector<std::string> command(const std::string& line);
    // The first answer line, or "" when there is none.
    std::string ask(const std::string& line);

private:
    lumonet::Socket socket_;
    std::string pending_;
};
