#include "tools/bmp/bmp_file.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>

#include "image/dib.h"
#include "platform/console.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint64_t kMaxBlockBytes = 0x7FFFFFFF;  // the largest DIB block the library makes

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

// Where the loader reads from: an open file or bytes in memory.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to `n` bytes; fewer only at the end of the source.
  virtual size_t Read(void* into, size_t n) = 0;
  // Skips `n` bytes; false when the source ends first.
  virtual bool Skip(uint64_t n) = 0;
  // Bytes left, or kUnknownLength for a stream (a pipe, a device) that cannot say.
  virtual uint64_t Remaining() = 0;
  static constexpr uint64_t kUnknownLength = UINT64_MAX;
};

class MemorySource : public ByteSource {
 public:
  MemorySource(const unsigned char* bytes, size_t size) : bytes_(bytes), size_(size) {}
  size_t Read(void* into, size_t n) override {
    const size_t count = std::min(n, size_ - at_);
    if (count) std::memcpy(into, bytes_ + at_, count);
    at_ += count;
    return count;
  }
  bool Skip(uint64_t n) override {
    if (n > size_ - at_) return false;
    at_ += static_cast<size_t>(n);
    return true;
  }
  uint64_t Remaining() override { return size_ - at_; }

 private:
  const unsigned char* bytes_;
  size_t size_;
  size_t at_ = 0;
};

class FileSource : public ByteSource {
 public:
  // Only a regular file knows its length; a device or a pipe is read as it comes.
  explicit FileSource(std::FILE* file) : file_(file) {
    const int64_t left = RegularFileBytesLeft(file);
    if (left >= 0) remaining_ = static_cast<uint64_t>(left);
  }
  size_t Read(void* into, size_t n) override {
    const size_t count = std::fread(into, 1, n, file_);
    if (remaining_ != kUnknownLength) remaining_ -= std::min<uint64_t>(count, remaining_);
    return count;
  }
  bool Skip(uint64_t n) override {
    if (remaining_ != kUnknownLength) {
      if (n > remaining_ || n > static_cast<uint64_t>(LONG_MAX) ||
          std::fseek(file_, static_cast<long>(n), SEEK_CUR) != 0) {
        return false;
      }
      remaining_ -= n;
      return true;
    }
    unsigned char sink[4096];
    while (n > 0) {
      const size_t want = static_cast<size_t>(std::min<uint64_t>(n, sizeof sink));
      if (std::fread(sink, 1, want, file_) != want) return false;
      n -= want;
    }
    return true;
  }
  uint64_t Remaining() override { return remaining_; }

 private:
  std::FILE* file_;
  uint64_t remaining_ = kUnknownLength;
};

// What the 14 + 40 header bytes announce, checked, and where the palette and rows lie.
struct BmpFacts {
  BITMAPINFOHEADER header;  // as the library will keep it
  bool topDown;
  uint32_t paletteBytes;    // the file's palette, copied as it stands
  uint64_t gapBytes;        // between the end of the palette and the first row
  uint64_t pixelBytes;      // stride x height
};

bool ReadFacts(const unsigned char* bytes, BmpFacts* facts, std::string* error) {
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
  if (stride == 0 || blockSize > kMaxBlockBytes) {
    return Fail(error, "BMP image " + std::to_string(h.biWidth) + " x " + std::to_string(h.biHeight) +
                           " too large (the largest image block is 2 GiB)");
  }
  const uint64_t paletteEnd = kFileHeaderSize + kDibHeaderSize + 4ull * colors;
  const uint64_t offBits = Le32(bytes + 10);
  if (paletteEnd > offBits) {
    return Fail(error, "BMP palette of " + std::to_string(colors) + " entries does not fit before the pixels");
  }
  facts->header = h;
  facts->paletteBytes = 4 * colors;
  facts->gapBytes = offBits - paletteEnd;
  facts->pixelBytes = pixelBytes;
  return true;
}

std::string Truncated(const BmpFacts& facts) {
  return "BMP file is truncated: the header promises " + std::to_string(facts.paletteBytes) +
         " bytes of palette and " + std::to_string(facts.pixelBytes) + " bytes of pixels";
}

// Reads the headers, checks them, and only then allocates the image and reads exactly the
// palette and rows they announce. When the source knows its length, a short file is refused
// before anything is allocated.
HGLOBAL ReadBmp(ByteSource& source, std::string* error) {
  unsigned char head[kFileHeaderSize + kDibHeaderSize];
  const size_t got = source.Read(head, sizeof head);
  if (got < sizeof head) {
    Fail(error, "file too short for a BMP header (" + std::to_string(got) + " bytes)");
    return nullptr;
  }
  BmpFacts facts;
  if (!ReadFacts(head, &facts, error)) return nullptr;
  const uint64_t needed = facts.paletteBytes + facts.gapBytes + facts.pixelBytes;
  const uint64_t remaining = source.Remaining();
  if (remaining != ByteSource::kUnknownLength && remaining < needed) {
    Fail(error, Truncated(facts));
    return nullptr;
  }
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
  bool complete = source.Read(out + kDibHeaderSize, facts.paletteBytes) == facts.paletteBytes &&
                  source.Skip(facts.gapBytes);
  for (size_t row = 0; complete && row < rows; ++row) {
    const size_t target = facts.topDown ? rows - 1 - row : row;
    complete = source.Read(out + pixelOffset + target * stride, stride) == stride;
  }
  GlobalUnlock(dib);
  if (!complete) {
    GlobalFree(dib);
    Fail(error, Truncated(facts));
    return nullptr;
  }
  return dib;
}

}  // namespace

HGLOBAL DecodeBmp(const unsigned char* bytes, size_t size, std::string* error) {
  MemorySource source(bytes, size);
  return ReadBmp(source, error);
}

HGLOBAL ReadBmpStream(std::FILE* file, std::string* error) {
  FileSource source(file);
  return ReadBmp(source, error);
}

HGLOBAL LoadBmpFile(const std::string& path, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    Fail(error, "cannot open " + path + ": " + std::strerror(errno));
    return nullptr;
  }
  std::string reason;
  HGLOBAL dib = ReadBmpStream(file, &reason);
  const bool readError = std::ferror(file) != 0;
  std::fclose(file);
  if (readError && !dib) reason = "cannot read the file";
  if (!dib) Fail(error, path + ": " + reason);
  return dib;
}

bool WriteFileWhole(const std::string& path, const std::function<bool(std::FILE*)>& write, std::string* error) {
  const std::string partial = path + ".partial";
  errno = 0;
  std::FILE* file = std::fopen(partial.c_str(), "wb");
  bool written = file && write(file);
  if (file && std::fclose(file) != 0) written = false;
  if (!written) {
    const int cause = errno;
    std::remove(partial.c_str());
    return Fail(error, "cannot write " + path + (cause ? std::string(": ") + std::strerror(cause) : std::string()));
  }
  // Some systems refuse to rename over an existing file; then the old one goes first.
  if (std::rename(partial.c_str(), path.c_str()) != 0 &&
      (std::remove(path.c_str()), std::rename(partial.c_str(), path.c_str()) != 0)) {
    const int cause = errno;
    std::remove(partial.c_str());
    return Fail(error, "cannot write " + path + ": " + std::strerror(cause));
  }
  return true;
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
  const bool written = WriteFileWhole(
      path,
      [&](std::FILE* file) {
        return std::fwrite(fileHeader, 1, sizeof fileHeader, file) == sizeof fileHeader &&
               std::fwrite(bits, 1, layout.blockSize, file) == layout.blockSize;
      },
      error);
  GlobalUnlock(dib);
  return written;
}
