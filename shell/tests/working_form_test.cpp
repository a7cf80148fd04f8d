// The "please wait" window of a repair.
#include "shell/working_form.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "common/message_box.h"
#include "common/ui/application.h"
#include "common/work_progress.h"

using namespace sysrepair;

namespace {

bool waitFor(const std::function<bool()>& condition) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > 10000) return false;
        Sleep(20);
    }
    return true;
}

TEST(WorkingForm, AnimatesOnItsOwnThreadAndRefusesToCloseMeanwhile) {
    ASSERT_TRUE(ui::Application::initialize());
    showWorking(Work::Repair);
    WorkingFormThread* thread = workingFormThread();
    ASSERT_NE(thread, nullptr);
    showWorking(Work::Repair);  // a second call keeps the running animation
    EXPECT_EQ(workingFormThread(), thread);

    TWorkingForm* form = thread->form();
    ASSERT_NE(form, nullptr);
    HWND window = form->handle();
    EXPECT_TRUE(IsWindowVisible(window));
    char caption[32] = {};
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ(caption, "Working");
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 249);
    EXPECT_EQ(client.bottom, 73);
    EXPECT_EQ(form->Label1.text(), "Working...Please Wait...");

    // The user-interface thread is busy: the bar still fills.
    const DWORD start = GetTickCount();
    while (form->ProgressBar1.position() < 100 && GetTickCount() - start < 10000) Sleep(20);
    EXPECT_EQ(form->ProgressBar1.position(), 100);

    // Once the work says how far it is, the window shows the entries done.
    win::beginWorkStep("Restoring", 58970);
    win::advanceWork(1200);
    EXPECT_TRUE(
        waitFor([&] { return form->Label1.text() == "Restoring 1,200 of 58,970 entries"; }));
    EXPECT_EQ(form->ProgressBar1.position(), 2);
    win::advanceWork(100000);  // never past the whole
    EXPECT_TRUE(waitFor([&] { return form->ProgressBar1.position() == 100; }));
    EXPECT_EQ(form->Label1.text(), "Restoring 58,970 of 58,970 entries");
    win::endWork();

    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, 0), FALSE);

    hideWorking();
    EXPECT_EQ(workingFormThread(), nullptr);
    EXPECT_FALSE(IsWindow(window) && IsWindowVisible(window));
}

TEST(WorkingForm, HidingWithoutAnAnimationSaysSo) {
    std::vector<win::MessageBoxRequest> shown;
    win::setMessageBoxHandler([&](const win::MessageBoxRequest& r) {
        shown.push_back(r);
        return IDOK;
    });
    hideWorking();
    win::setMessageBoxHandler(nullptr);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Null Working Form Thread");
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shown[0].owner, nullptr);
}

}  // namespace
