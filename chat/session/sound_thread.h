// The thread that plays the chat's sounds, so that neither the windows nor
// the network threads wait for the sound device. It plays the latest request
// only: one made while another still waits replaces it.
//
// The sound device may hold a call for minutes (seen under Wine), so the end
// of the player waits a bounded time: a thread still inside the device is
// left to the end of the process, holding its own share of the requests.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace chatsession {

// Plays one sound file to its end.
using SoundPlayer = std::function<void(const std::string& path)>;
// The platform's player: the name is looked up as a system sound first, then
// played as a file.
void playSoundFile(const std::string& path);

class TSoundThread {
public:
    // How long the end of the player waits for a sound still playing.
    static constexpr int endWaitMs = 2000;

    explicit TSoundThread(SoundPlayer player = playSoundFile);
    ~TSoundThread();
    TSoundThread(const TSoundThread&) = delete;
    TSoundThread& operator=(const TSoundThread&) = delete;

    // False when no thread could be made: requests are then dropped.
    bool valid() const;
    // Asks for a sound; returns at once, also while another plays.
    void request(const std::string& path);
    // Sounds handed to the player so far.
    int played() const;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

}  // namespace chatsession
