#include "chat/tests/support/support_server_control.h"

#include <cstdlib>

SupportServerControl::SupportServerControl() {
    const char* port = std::getenv("MENDORA_SUPPORT_CONTROL");
    if (!port) return;
    socket_.reset(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!socket_) return;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(std::atoi(port)));
    address.sin_addr.s_addr = inet_addr("127.0.0.1");
    if (::connect(socket_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        socket_.reset();
}

std::vector<std::string> SupportServerControl::command(const std::string& line) {
    std::vector<std::string> answer;
    if (!socket_) return answer;
    const std::string request = line + "\n";
    if (::send(socket_.get(), request.data(), static_cast<int>(request.size()), 0) !=
        static_cast<int>(request.size()))
        return answer;
    for (;;) {
        const size_t end = pending_.find('\n');
        if (end != std::string::npos) {
            const std::string reply = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            if (reply == ".") return answer;
            answer.push_back(reply);
            continue;
        }
        char buffer[4096];
        const int n = ::recv(socket_.get(), buffer, sizeof buffer, 0);
        if (n <= 0) return answer;
        pending_.append(buffer, static_cast<size_t>(n));
    }
}

std::string SupportServerControl::ask(const std::string& line) {
    const std::vector<std::string> answer = command(line);
    return answer.empty() ? std::string() : answer.front();
}
