// The network layer's errors: queued as code and detail, turned into text by
// the session layer when it reports them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>

namespace lumonet {

enum NetErrorCode : int32_t {
    NoError = 0,
    HostNotFound = 1,
    SocketCreateFailed = 2,
    ConnectFailed = 3,
    PacketSizeOrCloseFailed = 4,
    PacketTooLarge = 5,
    HandshakeFailed = 6,
};

struct NetError {
    static constexpr const char* noDetail = "null";
    int32_t code = NoError;
    std::string detail = noDetail;
};

// The fixed text of a code; "unknown" for codes outside the table.
std::string errorCodeText(int32_t code);

// "code: text", followed by " - detail" when a detail was given.
std::string formatError(const NetError& error);

// First in, first out; safe to use from several threads. Holds at most
// `capacity` errors: when nobody reads them, the oldest are dropped.
class NetErrorQueue {
public:
    static constexpr size_t capacity = 64;

    void push(int32_t code, const std::string& detail = NetError::noDetail);
    // Takes the oldest error off and formats it; "no error" when empty.
    std::string takeText();
    size_t size() const;
    void clear();

private:
    mutable std::mutex lock;
    std::deque<NetError> errors;
};

}  // namespace lumonet
