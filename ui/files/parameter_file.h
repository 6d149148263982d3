// The container of the editors' parameter files: an 18-byte little-endian header (magic,
// three 16-bit descriptors, payload length, two reserved words) followed by the payload.
// Magic Curve files (.mmc) and user-defined filter files (.udf) both use it.
#ifndef FXUI_UI_FILES_PARAMETER_FILE_H
#define FXUI_UI_FILES_PARAMETER_FILE_H

#include <windows.h>

#include <cstdint>

constexpr uint32_t kMagicCurveMagic = 0x43435552;  // the bytes "RUCC"
constexpr uint32_t kUserFilterMagic = 0x43554446;  // the bytes "FDUC"
constexpr int kParameterFileHeaderSize = 18;
constexpr int kParameterFileNameSize = 128;

// The header as the reader returns it at the start of its block (in file layout, so the
// payload starts kParameterFileHeaderSize bytes into the block).
struct ParameterFileHeader {
  uint32_t magic;
  uint16_t first;   // curve entries, or kernel columns
  uint16_t second;  // mapping, or kernel rows
  uint16_t third;   // bits per value
  uint32_t length;  // payload bytes
};

// The one file-name buffer shared by every load and save: the file dialogs fill it, the
// reader and writer open the file it names.
char* ParameterFileName();

// Creates (or empties) the named file and writes the header and `length` payload bytes.
// True when the file could be opened; the single writes are not checked.
bool WriteParameterFile(const void* payload, uint32_t magic, uint16_t first, uint16_t second, uint16_t third,
                        uint32_t length);

// Reads the named file: a movable block holding the 18 header bytes and then the payload, or
// null when the file cannot be opened, is shorter than its header or its payload, or carries
// another magic. The caller frees the block.
HGLOBAL ReadParameterFile(uint32_t expectedMagic);

// The header of a block that ReadParameterFile returned, decoded from its first 18 bytes.
ParameterFileHeader ParameterFileHeaderOf(const uint8_t* block);

#endif
