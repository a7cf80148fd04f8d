#include "chat/session/sound_thread.h"

#include <windows.h>

#include <mmsystem.h>

namespace chatsession {

TSoundThread::~TSoundThread() {
    terminateAndWait();
}

void TSoundThread::request(const std::string& path) {
    std::lock_guard<std::mutex> lock(lock_);
    next_ = path;
    pending_ = true;
}

void TSoundThread::execute() {
    while (!terminated()) {
        std::string path;
        bool play = false;
        {
            std::lock_guard<std::mutex> lock(lock_);
            if (pending_) {
                path = next_;
                pending_ = false;
                play = true;
            }
        }
        // Played outside the lock: a request never waits for the sound
        // device, which under Wine has been seen to hold a call for minutes
        // (the chat window froze with it). No flags: the name is looked up
        // as a system sound first, then played as a file, to its end.
        if (play) {
            PlaySoundA(path.c_str(), nullptr, 0);
            ++played_;
        }
        Sleep(100);
    }
}

}  // namespace chatsession
