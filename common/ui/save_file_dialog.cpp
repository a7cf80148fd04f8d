#include "common/ui/save_file_dialog.h"

#include <commdlg.h>

#include <vector>

#include "common/file_contents.h"
#include "common/win_handles.h"

namespace ui {

bool askSaveFileName(HWND owner, const SaveFileQuestion& question, std::wstring& path) {
    // Long enough for any path the platform takes.
    std::vector<wchar_t> name(32768, L'\0');
    question.suggestedName.copy(name.data(), name.size() - 1);
    std::wstring filter = question.filter;
    filter.push_back(L'\0');

    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrTitle = question.title.c_str();
    dialog.lpstrDefExt =
        question.defaultExtension.empty() ? nullptr : question.defaultExtension.c_str();
    dialog.Flags =
        OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialog)) return false;
    path = name.data();
    return true;
}

bool writeNewFile(const std::wstring& path, const std::string& bytes) {
    bool written = false;
    {
        win::FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        written = win::writeAll(file.get(), bytes);
    }
    if (!written) DeleteFileW(path.c_str());
    return written;
}

}  // namespace ui
