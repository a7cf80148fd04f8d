// The thread that plays the chat's sounds, so that neither the windows nor
// the network threads wait for the sound device. It plays the latest request
// only: one made while another still waits replaces it.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "common/thread.h"

namespace chatsession {

class TSoundThread : public win::Thread {
public:
    // Made suspended.
    TSoundThread() = default;
    ~TSoundThread() override;

    // Asks for a sound; returns at once, also while another plays.
    void request(const std::string& path);
    // Sounds handed to the player so far.
    int played() const { return played_; }

protected:
    void execute() override;

private:
    std::mutex lock_;
    std::string next_;
    bool pending_ = false;
    std::atomic<int> played_{0};
};

}  // namespace chatsession
