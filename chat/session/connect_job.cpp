#include "chat/session/connect_job.h"

#include <winsock2.h>

#include <random>

#include "chat/reconnect_schedule.h"
#include "common/thread.h"
#include "common/ui_thread.h"

namespace chatsession {

ConnectJob::ConnectJob(const std::string& host, uint16_t port, int tries, ConnectSteps steps,
                       std::weak_ptr<void> ownerToken)
    : host_(host),
      port_(port),
      tries_(tries),
      steps_(std::move(steps)),
      ownerToken_(std::move(ownerToken)),
      wake_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

std::shared_ptr<ConnectJob> ConnectJob::start(const std::string& host, uint16_t port, int tries,
                                              ConnectSteps steps, std::weak_ptr<void> ownerToken) {
    auto job =
        std::make_shared<ConnectJob>(host, port, tries, std::move(steps), std::move(ownerToken));
    if (!job->wake_) return nullptr;
    // The thread's own reference, released by the thread when it ends.
    auto* held = new std::shared_ptr<ConnectJob>(job);
    const HANDLE thread = CreateThread(nullptr, 0, &ConnectJob::threadMain, held, 0, nullptr);
    if (thread == nullptr) {
        delete held;
        return nullptr;
    }
    CloseHandle(thread);
    return job;
}

unsigned long __stdcall ConnectJob::threadMain(void* held) {
    std::unique_ptr<std::shared_ptr<ConnectJob>> job(
        static_cast<std::shared_ptr<ConnectJob>*>(held));
    (*job)->run();
    (*job)->finished_ = true;
    return 0;
}

void ConnectJob::cancel() {
    cancelled_ = true;
    SetEvent(wake_.get());
}

bool ConnectJob::waitFinished(int ms) const {
    const DWORD start = GetTickCount();
    while (!finished_) {
        if (GetTickCount() - start >= static_cast<DWORD>(ms)) return false;
        win::pauseServingSentMessages(10);
    }
    return true;
}

bool ConnectJob::deliver(const std::function<void()>& step) {
    bool ran = false;
    win::runOnUiThread([&] {
        if (cancelled_ || ownerToken_.expired()) return;
        step();
        ran = true;
    });
    return ran;
}

void ConnectJob::run() {
    std::random_device device;
    for (int attempt = 1; attempt <= tries_ && !cancelled_; ++attempt) {
        if (tries_ > 1) {
            const int waitMs = lumonet::reconnectWaitMs(attempt, device());
            deliver([&] { steps_.waiting(attempt, waitMs); });
            WaitForSingleObject(wake_.get(), static_cast<DWORD>(waitMs));
            if (cancelled_) return;
        }
        deliver([&] { steps_.trying(attempt); });
        lumonet::NetConnection connection;
        lumonet::NetError error;
        if (lumonet::openConnection(host_, port_, lumonet::OpenLimits(), cancelled_, connection,
                                    error)) {
            if (!deliver([&] { steps_.connected(connection); }))
                closesocket(static_cast<SOCKET>(connection.socket));
            return;
        }
        deliver([&] { steps_.failed(attempt, error); });
    }
    deliver([&] { steps_.gaveUp(); });
}

}  // namespace chatsession
