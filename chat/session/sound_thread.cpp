#include "chat/session/sound_thread.h"

#include <windows.h>

#include <mmsystem.h>

#include <atomic>
#include <mutex>

#include "common/win_handles.h"

namespace chatsession {

void playSoundFile(const std::string& path) {
    PlaySoundA(path.c_str(), nullptr, 0);
}

struct TSoundThread::Shared {
    explicit Shared(SoundPlayer p) : player(std::move(p)) {}

    const SoundPlayer player;
    std::mutex lock;
    std::string next;
    bool pending = false;
    std::atomic<bool> ending{false};
    std::atomic<int> played{0};
    win::KernelHandle wake{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
    win::KernelHandle thread;

    static unsigned long __stdcall threadMain(void* held) {
        // The thread's own share: the requests outlive a player that stopped
        // waiting for it.
        std::unique_ptr<std::shared_ptr<Shared>> self(static_cast<std::shared_ptr<Shared>*>(held));
        (*self)->run();
        return 0;
    }

    void run() {
        while (!ending) {
            std::string path;
            bool play = false;
            {
                std::lock_guard<std::mutex> guard(lock);
                if (pending) {
                    path = next;
                    pending = false;
                    play = true;
                }
            }
            // Played outside the lock: a request never waits for the device.
            if (play) {
                player(path);
                ++played;
            } else {
                WaitForSingleObject(wake.get(), 100);
            }
        }
    }
};

TSoundThread::TSoundThread(SoundPlayer player)
    : shared_(std::make_shared<Shared>(std::move(player))) {
    if (!shared_->wake) return;
    auto* held = new std::shared_ptr<Shared>(shared_);
    shared_->thread.reset(CreateThread(nullptr, 0, &Shared::threadMain, held, 0, nullptr));
    if (!shared_->thread) delete held;
}

TSoundThread::~TSoundThread() {
    if (!shared_->thread) return;
    shared_->ending = true;
    SetEvent(shared_->wake.get());
    WaitForSingleObject(shared_->thread.get(), endWaitMs);
}

bool TSoundThread::valid() const {
    return shared_->thread.valid();
}

void TSoundThread::request(const std::string& path) {
    {
        std::lock_guard<std::mutex> guard(shared_->lock);
        shared_->next = path;
        shared_->pending = true;
    }
    SetEvent(shared_->wake.get());
}

int TSoundThread::played() const {
    return shared_->played;
}

}  // namespace chatsession
