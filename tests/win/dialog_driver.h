// Driving real dialogs from a test: the dialog's opener runs its own modal loop, so a thread
// CBT hook notices the dialog's creation and a thread timer then runs the test's script
// inside that loop. The script acts as a user would (scroll messages, button clicks, timer
// ticks, drags) and ends the dialog with OK or Cancel. A script may drive a dialog that its
// own actions open, such as a file dialog.
#ifndef FXUI_TESTS_WIN_DIALOG_DRIVER_H
#define FXUI_TESTS_WIN_DIALOG_DRIVER_H

#include <functional>
#include <string>

#include <windows.h>

// Calls `open` and runs `script` on the first dialog window created meanwhile; returns what
// `open` returned. A script that leaves the dialog open has it cancelled.
int DriveDialog(const std::function<int()>& open, const std::function<void(HWND dialog)>& script);

// User actions.
void ScrollSlider(HWND dialog, int sliderId, int code, int thumb = 0);
void ClickButton(HWND dialog, int buttonId);
std::string WindowText(HWND window);
// Clicks `button` of `dialog` and answers the file dialog it opens as a user would: `path`
// typed into its name box and OK (an empty path: Cancel). Returns the file dialog's title,
// empty when none came up.
std::string ClickAndAnswerFileDialog(HWND dialog, int button, const std::string& path);
// A scratch path in the test's temporary folder (Windows form), the file removed first.
std::string ScratchFile(const std::string& name);

#endif
