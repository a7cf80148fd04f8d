#include "sysinfo/window/win_info_form.h"

#include "common/message_box.h"
#include "common/os_version.h"
#include "common/ui/application.h"
#include "common/ui/menu_bar.h"
#include "common/win_handles.h"
#include "sysinfo/window/sysinfo_resources.h"
#include "sysinfo/windows_information.h"

namespace sysinfo {

namespace {

ui::WindowOptions infoWindowOptions() {
    ui::WindowOptions o;
    o.caption = "Windows Information";
    o.clientWidth = 449;
    o.clientHeight = 625;
    return o;
}

ui::ImageList makeImageList() {
    ui::ImageList list(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 12, 0));
    win::Bitmap pictures(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr),
                                                         MAKEINTRESOURCEA(SYSINFO_INFO_IMAGES),
                                                         IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (list && pictures) ImageList_AddMasked(list.get(), pictures.get(), RGB(255, 0, 255));
    return list;
}

}  // namespace

TWinInfoForm1::TWinInfoForm1(TddiForm& deviceWindow)
    : ui::Window(infoWindowOptions()),
      TeListView1(
          add<ui::ListView>(ui::Bounds{0, 0, 449, 625}, ui::ListViewOptions{true, false, true})),
      deviceWindow_(deviceWindow) {
    ui::Menu& file = menuBar().addMenu("File");
    file.addItem("Exit", [this] { CustomItem2Click(); });
    ui::Menu& advanced = menuBar().addMenu("Advanced");
    advanced.addItem("Advanced System Info", [this] { AdvancedSystemInfoClick(); });
    TeListView1.addColumn("Item");
    TeListView1.addColumn("Value");
    TeListView1.setSmallImages(makeImageList());
    onShow = [this] { FormShow(); };
    onResize = [this] { TeListView1.setBounds(ui::Bounds{0, 0, clientWidth(), clientHeight()}); };
}

void TWinInfoForm1::FormShow() {
    const int screenHeight = ui::Application::screenHeight();
    setClientSize(clientWidth(), static_cast<int>(screenHeight * 0.55));
    setPosition(ui::Application::screenWidth() / 2 - width() / 2, screenHeight / 2 - height() / 2);
    if (filled_) return;
    fill();
    filled_ = true;
}

void TWinInfoForm1::fill() {
    std::vector<InfoRow> rows;
    if (!operatingSystemRows(rows))
        win::showMessageBox(handle(), "Error retreiving information", ui::Application::title(),
                            MB_OK);
    generalRows(win::OsVersion().osCode, rows);
    mouseRows(rows);
    systemRows(rows);
    for (const InfoRow& row : rows) {
        const int at = TeListView1.addItem(row.item, row.indent, row.image);
        if (!row.value.empty()) TeListView1.setSubItem(at, 1, row.value);
    }
    TeListView1.autoSizeColumns();
}

void TWinInfoForm1::CustomItem2Click() {
    close();
}

void TWinInfoForm1::AdvancedSystemInfoClick() {
    deviceWindow_.showModal();
}

}  // namespace sysinfo
