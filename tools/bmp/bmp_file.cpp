#include "tools/bmp/bmp_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "image/dib.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint64_t kMaxFileSize = 0x7FFFFFFF;

uint32_t Le32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24);
}

void PutLe32(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

bool Fail(std::string* error, const std::string& reason) {
  if (error) *error = reason;
  return false;
}

// Checks a file's headers and works out where its palette and rows are.
struct BmpFacts {
  BITMAPINFOHEADER header;  // as the library will keep it
  bool topDown;
  uint32_t paletteBytes;
  size_t pixelOffsetInFile;
};

bool ReadFacts(const unsigned char* bytes, size_t size, BmpFacts* facts, std::string* error) {
  if (size < kFileHeaderSize + kDibHeaderSize) return Fail(error, "file too short for a BMP header");
  if (bytes[0] != 'B' || bytes[1] != 'M') return Fail(error, "not a BMP file (no 'BM' signature)");
  const unsigned char* info = bytes + kFileHeaderSize;
  const uint32_t headerSize = Le32(info);
  if (headerSize != kDibHeaderSize) {
    return Fail(error, "unsupported BMP header of " + std::to_string(headerSize) +
                           " bytes (only the 40-byte BITMAPINFOHEADER is read)");
  }
  BITMAPINFOHEADER h;
  std::memcpy(&h, info, sizeof h);
  if (h.biCompression != BI_RGB) {
    return Fail(error, "compressed BMP (compression " + std::to_string(h.biCompression) + ") is not supported");
  }
  if (h.biBitCount != 1 && h.biBitCount != 4 && h.biBitCount != 8 && h.biBitCount != 24) {
    return Fail(error, std::to_string(h.biBitCount) + "-bit BMP is not supported (1, 4, 8 or 24 bits)");
  }
  if (h.biPlanes != 1) return Fail(error, "BMP header gives " + std::to_string(h.biPlanes) + " planes, not 1");
  if (h.biWidth < 1 || h.biHeight == 0 || h.biHeight == INT32_MIN) {
    return Fail(error, "BMP header gives an empty or invalid size " + std::to_string(h.biWidth) + " x " +
                           std::to_string(h.biHeight));
  }
  const uint32_t maxColors = h.biBitCount == 24 ? 0 : 1u << h.biBitCount;
  uint32_t colors = h.biClrUsed;
  if (h.biBitCount == 24) {
    colors = 0;  // a 24-bit file's optional colour table is not part of the library's image
  } else if (colors == 0) {
    colors = maxColors;
  } else if (colors > maxColors) {
    return Fail(error, "BMP header gives " + std::to_string(colors) + " palette entries for " +
                           std::to_string(h.biBitCount) + " bits");
  }
  facts->topDown = h.biHeight < 0;
  h.biHeight = facts->topDown ? -h.biHeight : h.biHeight;
  h.biClrUsed = colors;
  const uint64_t stride = DibRowStride(h.biWidth, h.biBitCount);  // 0 when a row alone is too large
  const uint64_t pixelBytes = stride * static_cast<uint64_t>(h.biHeight);
  const uint64_t blockSize = kDibHeaderSize + 4ull * colors + pixelBytes;
  if (stride == 0 || blockSize > kMaxFileSize) return Fail(error, "BMP image too large");
  const uint64_t paletteEnd = kFileHeaderSize + kDibHeaderSize + 4ull * colors;
  // The file's own palette is read at the size the file says (its biClrUsed, or 2^bits).
  const uint32_t filePaletteBytes = h.biBitCount == 24 ? 0 : 4 * colors;
  const uint64_t offBits = Le32(bytes + 10);
  if (h.biBitCount != 24 && (paletteEnd > size || paletteEnd > offBits)) {
    return Fail(error, "BMP palette of " + std::to_string(colors) + " entries does not fit the file");
  }
  if (offBits < kFileHeaderSize + kDibHeaderSize || offBits > size || pixelBytes > size - offBits) {
    return Fail(error, "BMP file is truncated: the header promises " + std::to_string(pixelBytes) +
                           " bytes of pixels");
  }
  facts->header = h;
  facts->paletteBytes = filePaletteBytes;
  facts->pixelOffsetInFile = static_cast<size_t>(offBits);
  return true;
}

}  // namespace

HGLOBAL DecodeBmp(const unsigned char* bytes, size_t size, std::string* error) {
  BmpFacts facts;
  if (!ReadFacts(bytes, size, &facts, error)) return nullptr;
  const BITMAPINFOHEADER& h = facts.header;
  const size_t stride = DibRowStride(h.biWidth, h.biBitCount);
  const size_t rows = static_cast<size_t>(h.biHeight);
  const size_t pixelOffset = kDibHeaderSize + facts.paletteBytes;
  HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, pixelOffset + stride * rows);
  auto* out = dib ? static_cast<unsigned char*>(GlobalLock(dib)) : nullptr;
  if (!out) {
    if (dib) GlobalFree(dib);
    Fail(error, "out of memory for a " + std::to_string(h.biWidth) + " x " + std::to_string(h.biHeight) + " image");
    return nullptr;
  }
  std::memcpy(out, &h, kDibHeaderSize);
  std::memcpy(out + kDibHeaderSize, bytes + kFileHeaderSize + kDibHeaderSize, facts.paletteBytes);
  const unsigned char* in = bytes + facts.pixelOffsetInFile;
  for (size_t row = 0; row < rows; ++row) {
    const size_t target = facts.topDown ? rows - 1 - row : row;
    std::memcpy(out + pixelOffset + target * stride, in + row * stride, stride);
  }
  GlobalUnlock(dib);
  return dib;
}

HGLOBAL LoadBmpFile(const std::string& path, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    Fail(error, "cannot open " + path + ": " + std::strerror(errno));
    return nullptr;
  }
  std::vector<unsigned char> bytes;
  unsigned char chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + n);
    if (bytes.size() > kMaxFileSize) break;
  }
  const bool readError = std::ferror(file) != 0;
  std::fclose(file);
  if (readError) {
    Fail(error, "cannot read " + path);
    return nullptr;
  }
  if (bytes.size() > kMaxFileSize) {
    Fail(error, path + " is too large");
    return nullptr;
  }
  std::string reason;
  HGLOBAL dib = DecodeBmp(bytes.data(), bytes.size(), &reason);
  if (!dib) Fail(error, path + ": " + reason);
  return dib;
}

bool SaveBmpFile(const std::string& path, HGLOBAL dib, std::string* error) {
  const void* bits = dib ? GlobalLock(dib) : nullptr;
  if (!bits) return Fail(error, "no image to write");
  DibLayout layout;
  if (!ReadDibLayout(bits, GlobalSize(dib), &layout)) {
    GlobalUnlock(dib);
    return Fail(error, "the image to write is not a valid DIB");
  }
  unsigned char fileHeader[kFileHeaderSize] = {'B', 'M'};
  PutLe32(fileHeader + 2, static_cast<uint32_t>(kFileHeaderSize + layout.blockSize));
  PutLe32(fileHeader + 10, static_cast<uint32_t>(kFileHeaderSize + layout.pixelOffset));
  const std::string partial = path + ".partial";
  std::FILE* file = std::fopen(partial.c_str(), "wb");
  bool written = file && std::fwrite(fileHeader, 1, sizeof fileHeader, file) == sizeof fileHeader &&
                 std::fwrite(bits, 1, layout.blockSize, file) == layout.blockSize;
  GlobalUnlock(dib);
  if (file && std::fclose(file) != 0) written = false;
  if (!written) {
    std::remove(partial.c_str());
    return Fail(error, "cannot write " + path + ": " + std::strerror(errno));
  }
  // Some systems refuse to rename over an existing file; then the old one goes first.
  if (std::rename(partial.c_str(), path.c_str()) != 0 &&
      (std::remove(path.c_str()), std::rename(partial.c_str(), path.c_str()) != 0)) {
    std::remove(partial.c_str());
    return Fail(error, "cannot write " + path + ": " + std::strerror(errno));
  }
  return true;
}
