// Winsock 1.1 started for the lifetime of the object.
#pragma once

namespace lumonet {

class WinsockSession {
public:
    WinsockSession();
    ~WinsockSession();
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;

    bool started() const { return ok; }

private:
    bool ok = false;
};

}  // namespace lumonet
