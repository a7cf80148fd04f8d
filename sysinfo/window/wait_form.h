// "Gathering Information": the small window that shows progress while the
// device window builds its lists.
#pragma once

#include "common/ui/label.h"
#include "common/ui/progress_bar.h"
#include "common/ui/window.h"

namespace sysinfo {

class TForm2 : public ui::Window {
public:
    TForm2();
    // Sets the bar and draws both it and the window at once, since the work
    // that moves it keeps the message loop from running.
    void setProgress(int percent);
    void repaint();

    ui::Label& Label1;
    ui::ProgressBar& TeProgressBar1;
};

}  // namespace sysinfo
