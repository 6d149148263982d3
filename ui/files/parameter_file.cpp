#include "ui/files/parameter_file.h"

namespace {

char fileName[kParameterFileNameSize];

// Header field offsets in the file and in the reader's block.
constexpr int kMagicAt = 0;
constexpr int kFirstAt = 4;
constexpr int kSecondAt = 6;
constexpr int kThirdAt = 8;
constexpr int kLengthAt = 10;
constexpr int kReservedAt = 14;

void PutLittle(uint8_t* out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetLittle(const uint8_t* in, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | in[i];
  return value;
}

void WriteField(HFILE file, uint32_t value, int bytes) {
  uint8_t field[4];
  PutLittle(field, value, bytes);
  _lwrite(file, reinterpret_cast<LPCCH>(field), static_cast<UINT>(bytes));
}

// Reads one header field into the block; the count of bytes read (0 on an error).
UINT ReadField(HFILE file, uint8_t* block, int at, int bytes) {
  const UINT got = _lread(file, block + at, static_cast<UINT>(bytes));
  return got == static_cast<UINT>(HFILE_ERROR) ? 0 : got;
}

// The bytes left in the file after the header; a payload longer than that cannot be read, and
// knowing it first spares allocating a block for a length the file does not hold.
LONG BytesAfterHeader(HFILE file) {
  const LONG end = _llseek(file, 0, FILE_END);
  if (end == HFILE_ERROR || _llseek(file, kParameterFileHeaderSize, FILE_BEGIN) == HFILE_ERROR) return -1;
  return end - kParameterFileHeaderSize;
}

}  // namespace

char* ParameterFileName() { return fileName; }

bool WriteParameterFile(const void* payload, uint32_t magic, uint16_t first, uint16_t second, uint16_t third,
                        uint32_t length) {
  OFSTRUCT of;
  const HFILE file = OpenFile(fileName, &of, OF_CREATE | OF_READWRITE);
  if (file == HFILE_ERROR) return false;
  WriteField(file, magic, 4);
  WriteField(file, first, 2);
  WriteField(file, second, 2);
  WriteField(file, third, 2);
  WriteField(file, length, 4);
  WriteField(file, 0, 2);
  WriteField(file, 0, 2);
  if (length > 0) _lwrite(file, static_cast<LPCCH>(payload), length);
  _lclose(file);
  return true;
}

HGLOBAL ReadParameterFile(uint32_t expectedMagic) {
  OFSTRUCT of;
  const HFILE file = OpenFile(fileName, &of, OF_READ);
  if (file == HFILE_ERROR) return nullptr;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kParameterFileHeaderSize);
  auto* bytes = block ? static_cast<uint8_t*>(GlobalLock(block)) : nullptr;
  if (!bytes) {
    if (block) GlobalFree(block);
    _lclose(file);
    return nullptr;
  }
  UINT got = ReadField(file, bytes, kMagicAt, 4);
  got += ReadField(file, bytes, kFirstAt, 2);
  got += ReadField(file, bytes, kSecondAt, 2);
  got += ReadField(file, bytes, kThirdAt, 2);
  got += ReadField(file, bytes, kLengthAt, 4);
  got += ReadField(file, bytes, kReservedAt, 2);
  got += ReadField(file, bytes, kReservedAt + 2, 2);
  const ParameterFileHeader header = ParameterFileHeaderOf(bytes);
  GlobalUnlock(block);
  bool ok = got == kParameterFileHeaderSize && header.magic == expectedMagic;
  const LONG available = ok ? BytesAfterHeader(file) : -1;
  ok = ok && available >= 0 && header.length <= static_cast<uint32_t>(available);
  if (ok) {
    HGLOBAL larger = GlobalReAlloc(block, kParameterFileHeaderSize + header.length, GMEM_MOVEABLE | GMEM_ZEROINIT);
    ok = larger != nullptr;
    if (larger) block = larger;
  }
  if (ok) {
    bytes = static_cast<uint8_t*>(GlobalLock(block));
    ok = bytes && (header.length == 0 || _lread(file, bytes + kParameterFileHeaderSize, header.length) == header.length);
    if (bytes) GlobalUnlock(block);
  }
  _lclose(file);
  if (!ok) {
    GlobalFree(block);
    return nullptr;
  }
  return block;
}

ParameterFileHeader ParameterFileHeaderOf(const uint8_t* block) {
  ParameterFileHeader header;
  header.magic = GetLittle(block + kMagicAt, 4);
  header.first = static_cast<uint16_t>(GetLittle(block + kFirstAt, 2));
  header.second = static_cast<uint16_t>(GetLittle(block + kSecondAt, 2));
  header.third = static_cast<uint16_t>(GetLittle(block + kThirdAt, 2));
  header.length = GetLittle(block + kLengthAt, 4);
  return header;
}
