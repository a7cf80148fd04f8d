#include "sysinfo/window/wait_form.h"

namespace sysinfo {

namespace {

ui::WindowOptions waitWindowOptions() {
    ui::WindowOptions o;
    o.caption = "Gathering Information";
    o.clientWidth = 210;
    o.clientHeight = 69;
    o.frame = ui::Frame::Tool;
    o.stayOnTop = true;
    // It reports; the device window stays the one the user works in.
    o.activatesWhenShown = false;
    return o;
}

}  // namespace

TForm2::TForm2()
    : ui::Window(waitWindowOptions()),
      Label1(add<ui::Label>(ui::Bounds{8, 10, 193, 16}, "Gathering System Information",
                            ui::LabelOptions{ui::Align::Centre, false})),
      TeProgressBar1(add<ui::ProgressBar>(ui::Bounds{8, 35, 193, 17})) {
    centre();
}

void TForm2::setProgress(int percent) {
    TeProgressBar1.setPosition(percent);
    repaint();
}

void TForm2::repaint() {
    RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace sysinfo
