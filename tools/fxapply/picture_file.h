// Picture files for fxapply: BMP, PNG and JPEG in, BMP, PNG and JPEG out.
#ifndef FXUI_TOOLS_FXAPPLY_PICTURE_FILE_H
#define FXUI_TOOLS_FXAPPLY_PICTURE_FILE_H

#include <string>

#include <windows.h>

enum class PictureFormat { kUnknown, kBmp, kPng, kJpeg };

// The format a path asks for by its extension (.bmp, .png, .jpg or .jpeg, any case).
PictureFormat FormatOfPath(const std::string& path);

// Reads a BMP, PNG or JPEG file, told apart by its first bytes, into a new DIB: BMP files as
// the BMP loader keeps them; PNG and JPEG as 24-bit, or as an 8-bit grey-ramp DIB when the
// picture has one channel. An alpha channel is dropped and `note` says so. Sizes are checked
// against the library's largest image before anything is allocated. Null with a one-line
// reason in `error` on failure.
HGLOBAL LoadPictureFile(const std::string& path, std::string* error, std::string* note);

// Same, from bytes in memory.
HGLOBAL DecodePicture(const unsigned char* bytes, size_t size, std::string* error, std::string* note);

// Writes a DIB in `format`: BMP byte for byte; PNG and JPEG with the palette applied, so
// that palette and grey results keep their look (a grey-ramp image becomes a grey PNG or
// JPEG). The file appears complete or not at all.
bool SavePictureFile(const std::string& path, PictureFormat format, HGLOBAL dib, std::string* error);

#endif
