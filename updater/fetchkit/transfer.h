// One transfer of fetchkit (see fetchkit.h): a thread that receives, and a
// watchdog thread that ends it when it breaks its limits (pace.h).
#pragma once

#include <windows.h>

#include <wininet.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "updater/fetchkit/internet_handle.h"
#include "updater/fetchkit/pace.h"

namespace fetchkit {

class Transfer {
public:
    // `target` empty: the data is kept in memory.
    Transfer(std::wstring address, std::wstring target);
    ~Transfer() { stop(); }
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;

    void start(HINTERNET session);
    // Ends the transfer and waits for its threads.
    void stop();

    int phase() const { return phase_; }
    // The answer kept in memory, once the transfer has ended.
    int dataLength() const;
    const wchar_t* text() const;
    unsigned total() const { return total_; }
    unsigned read() const { return read_; }

private:
    enum class Outcome { Received, Failed, ResetBeforeData };

    void run();
    void watch();
    Outcome attempt();
    bool sendRequest(HINTERNET connection, const URL_COMPONENTSW& parts, const std::wstring& object,
                     HINTERNET& request);
    bool receiveIntoMemory(HINTERNET request);
    bool receiveIntoFile(HINTERNET request);
    bool readChunk(HINTERNET request, std::vector<char>& buffer, DWORD& got);
    Outcome droppedQuickly(DWORD error) const;
    bool keep(InternetHandle& slot, HINTERNET handle);
    void end();
    void closeHandles();
    void finish(bool succeeded);

    const std::wstring address_;
    const std::wstring target_;
    HINTERNET session_ = nullptr;

    std::mutex handleLock_;
    InternetHandle connection_;
    InternetHandle request_;

    std::mutex watchLock_;
    std::condition_variable wake_;
    bool done_ = false;
    Pace pace_;

    std::thread worker_;
    std::thread watchdog_;
    // Set by stop() and by the watchdog: whatever fails afterwards is not
    // tried again.
    std::atomic<bool> ended_{false};
    // When the current try's last call to the server began, and the error a
    // read of the answer ended with.
    DWORD waitStart_ = 0;
    DWORD readError_ = 0;
    std::atomic<int> phase_;
    std::atomic<unsigned> total_{0};
    std::atomic<unsigned> read_{0};
    int dataLength_ = 0;
    std::wstring text_;
};

}  // namespace fetchkit
