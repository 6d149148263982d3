// BMP files to and from the library's DIB blocks.
#ifndef FXUI_TOOLS_BMP_FILE_H
#define FXUI_TOOLS_BMP_FILE_H

#include <cstdio>
#include <functional>
#include <string>

#include <windows.h>

// Reads an uncompressed BMP with a 40-byte BITMAPINFOHEADER at 1, 4, 8 or 24 bits into a new
// DIB block in the library's form: bottom-up rows, biClrUsed palette entries (2^bits when the
// file says 0), no palette for 24 bits. Null with a one-line reason in `error` on failure.
HGLOBAL LoadBmpFile(const std::string& path, std::string* error);

// Same, from bytes already in memory, and from a file opened for reading at its start.
// Only the 54 header bytes are read before the header is checked; then exactly the palette
// and rows it announces. A file shorter than that is refused (before any allocation when its
// length is known).
HGLOBAL DecodeBmp(const unsigned char* bytes, size_t size, std::string* error);
HGLOBAL ReadBmpStream(std::FILE* file, std::string* error);

// Writes a 14-byte file header followed by the DIB block byte for byte. The file appears
// complete or not at all: it is written beside the target and renamed over it.
bool SaveBmpFile(const std::string& path, HGLOBAL dib, std::string* error);

// Writes a file through `write`, beside the target first and renamed over it on success, so
// that a failed write leaves the old file (or none) and no partial one. `write` answers
// whether every byte went out.
bool WriteFileWhole(const std::string& path, const std::function<bool(std::FILE*)>& write, std::string* error);

#endif
