// Answering the common file dialog that a dialog button opens, as a user would: the test
// clicks the button, and once the file dialog is on screen the driver types the name into it
// and presses its OK button (or Cancel).
#ifndef FXUI_TESTS_WIN_FILE_DIALOG_DRIVER_H
#define FXUI_TESTS_WIN_FILE_DIALOG_DRIVER_H

#include <string>

#include <windows.h>

struct FileDialogSeen {
  bool shown = false;  // a file dialog came up
  std::string title;   // its title
};

// Clicks `button` of `dialog` and answers the file dialog it opens with `path` (an empty path
// cancels it). Returns what was seen of the file dialog.
FileDialogSeen ClickAndAnswerFileDialog(HWND dialog, int button, const std::string& path);

// A scratch path in the test's temporary folder (Windows form), the file removed first.
std::string ScratchFile(const std::string& name);

#endif
