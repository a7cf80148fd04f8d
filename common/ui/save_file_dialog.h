// The platform's standard "Save As" dialog, in its wide form, so that any
// folder the user picks can be written to.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

struct SaveFileQuestion {
    std::wstring title;
    std::wstring suggestedName;
    // Pairs of description and pattern, each ended by a NUL, the whole list
    // by a second NUL: L"Text files (*.txt)\0*.txt\0".
    std::wstring filter;
    // Added to a name typed without one.
    std::wstring defaultExtension;
};

// Asks, owned by `owner`, where to save; a name that exists is confirmed
// before it is chosen. False when the user cancelled.
bool askSaveFileName(HWND owner, const SaveFileQuestion& question, std::wstring& path);

// Writes the bytes as the whole file, made anew; false, and no partial file
// left, when it cannot.
bool writeNewFile(const std::wstring& path, const std::string& bytes);

}  // namespace ui
