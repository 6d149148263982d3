#include "ui/files/file_dialogs.h"

#include <commdlg.h>

#include "resources/resource.h"
#include "ui/files/parameter_file.h"
#include "ui/module.h"

namespace {

struct DialogRow {
  bool save;
  const char* filter;     // description and pattern, each ending in a zero, then a closing zero
  int title;              // string resource
  const char* extension;  // added to a name typed without one (given without its period)
  DWORD flags;
  bool moduleDirectory;   // start in the folder of the library's own file
};

constexpr char kCurveFilter[] = "Magic Curve (*.mmc)\0*.mmc\0";
constexpr char kFilterFilter[] = "User Defined Filter (*.udf)\0*.udf\0";
constexpr DWORD kOpenFlags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
constexpr DWORD kSaveFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;

// Indexed by ParameterFileDialog.
constexpr DialogRow kDialogs[] = {
    // save   filter         title                  extension flags       module folder
    {false, kCurveFilter, IDS_LOAD_MAGIC_CURVE, "MMC", kOpenFlags, true},
    {true, kCurveFilter, IDS_SAVE_MAGIC_CURVE, "MMC", kSaveFlags, true},
    {false, kFilterFilter, IDS_LOAD_USER_FILTER, "UDF", kOpenFlags, false},
    {true, kFilterFilter, IDS_SAVE_USER_FILTER, "UDF", kSaveFlags, false},
};

// The folder of the library's file, or an empty string when it cannot be found.
void ModuleDirectory(char* folder, DWORD size) {
  const DWORD length = GetModuleFileNameA(ModuleInstance(), folder, size);
  if (length == 0 || length >= size) {
    folder[0] = '\0';
    return;
  }
  char* cut = folder + length;
  while (cut > folder && cut[-1] != '\\' && cut[-1] != '/') --cut;
  *cut = '\0';
}

}  // namespace

bool ChooseParameterFile(HWND owner, ParameterFileDialog which) {
  const DialogRow& row = kDialogs[static_cast<int>(which)];
  char* name = ParameterFileName();
  name[0] = '\0';
  char title[64] = "";
  LoadStringA(ModuleInstance(), row.title, title, sizeof title);
  char folder[MAX_PATH] = "";
  if (row.moduleDirectory) ModuleDirectory(folder, sizeof folder);

  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.hInstance = ModuleInstance();
  dialog.lpstrFilter = row.filter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = name;
  dialog.nMaxFile = kParameterFileNameSize;
  dialog.lpstrInitialDir = folder[0] ? folder : nullptr;
  dialog.lpstrTitle = title;
  dialog.Flags = row.flags;
  dialog.lpstrDefExt = row.extension;
  const BOOL chosen = row.save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
  // A path too long for the buffer ends the dialog with an error and leaves the buffer holding
  // the needed size instead of a name: nothing may be opened then.
  if (!chosen) name[0] = '\0';
  return chosen != FALSE;
}
