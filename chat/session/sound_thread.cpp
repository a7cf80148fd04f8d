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
        {
            std::lock_guard<std::mutex> lock(lock_);
            if (pending_) {
                // No flags: the name is looked up as a system sound first,
                // then played as a file, to its end. Without a sound device
                // the call returns at once.
                PlaySoundA(next_.c_str(), nullptr, 0);
                pending_ = false;
                ++played_;
            }
        }
        Sleep(100);
    }
}

}  // namespace chatsession
