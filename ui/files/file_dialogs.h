// The four file dialogs through which the editors name their parameter files.
#ifndef FXUI_UI_FILES_FILE_DIALOGS_H
#define FXUI_UI_FILES_FILE_DIALOGS_H

#include <windows.h>

enum class ParameterFileDialog { kLoadCurve, kSaveCurve, kLoadFilter, kSaveFilter };

// Empties the shared file-name buffer and shows the open or save dialog of `which`, owned by
// `owner`. True when the user chose a file, whose path is then in ParameterFileName(); false
// when the dialog was cancelled or the path does not fit the buffer (nothing is read or written).
bool ChooseParameterFile(HWND owner, ParameterFileDialog which);

#endif
