#include "chat/net_error.h"

namespace lumonet {

std::string errorCodeText(int32_t code) {
    switch (code) {
        case NoError:
            return "no error";
        case HostNotFound:
            return "host not found";
        case SocketCreateFailed:
            return "failure to create socket";
        case ConnectFailed:
            return "failure to connect";
        case PacketSizeOrCloseFailed:
            return "";
        case PacketTooLarge:
            return "packet is too large to receive";
        case HandshakeFailed:
            return "hand shake failed between connections";
        default:
            return "unknown";
    }
}

std::string formatError(const NetError& error) {
    std::string text = std::to_string(error.code) + ": " + errorCodeText(error.code);
    if (error.detail != NetError::noDetail) text += " - " + error.detail;
    return text;
}

void NetErrorQueue::push(int32_t code, const std::string& detail) {
    std::lock_guard<std::mutex> guard(lock);
    if (errors.size() == capacity) errors.pop_front();
    errors.push_back(NetError{code, detail});
}

std::string NetErrorQueue::takeText() {
    NetError oldest;
    {
        std::lock_guard<std::mutex> guard(lock);
        if (errors.empty()) return errorCodeText(NoError);
        oldest = errors.front();
        errors.pop_front();
    }
    return formatError(oldest);
}

size_t NetErrorQueue::size() const {
    std::lock_guard<std::mutex> guard(lock);
    return errors.size();
}

void NetErrorQueue::clear() {
    std::lock_guard<std::mutex> guard(lock);
    errors.clear();
}

}  // namespace lumonet
