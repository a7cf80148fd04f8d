// What the update queries need from the updater window: its trace log, its
// status text, its two progress bars, its check button, and a way to keep
// the window alive while a transfer is polled.
#pragma once

#include <string>

namespace updater {

class UpdateView {
public:
    virtual ~UpdateView() = default;

    // Appends a line to the hidden trace log.
    virtual void trace(const std::string& line) = 0;
    virtual void setStatus(const std::string& text) = 0;
    // The progress of the current file and of the whole run, 0 to 100.
    virtual void setItemProgress(int percent) = 0;
    virtual void setOverallProgress(int percent) = 0;
    virtual void disableCheckButton() = 0;
    // Handles the window messages waiting now.
    virtual void processMessages() = 0;
};

}  // namespace updater
