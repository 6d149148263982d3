// BMP files to and from the library's DIB blocks.
#ifndef FXUI_TOOLS_BMP_FILE_H
#define FXUI_TOOLS_BMP_FILE_H

#include <string>

#include <windows.h>

// Reads an uncompressed BMP with a 40-byte BITMAPINFOHEADER at 1, 4, 8 or 24 bits into a new
// DIB block in the library's form: bottom-up rows, biClrUsed palette entries (2^bits when the
// file says 0), no palette for 24 bits. Null with a one-line reason in `error` on failure.
HGLOBAL LoadBmpFile(const std::string& path, std::string* error);

// Same, from bytes already in memory.
HGLOBAL DecodeBmp(const unsigned char* bytes, size_t size, std::string* error);

// Writes a 14-byte file header followed by the DIB block byte for byte. The file appears
// complete or not at all: it is written beside the target and renamed over it.
bool SaveBmpFile(const std::string& path, HGLOBAL dib, std::string* error);

#endif
