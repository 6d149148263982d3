#include "tools/fxapply/picture_file.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include <stb_image.h>
#include <stb_image_write.h>

#include "image/dib.h"
#include "platform/console.h"
#include "tools/bmp/bmp_file.h"

namespace {

constexpr uint64_t kMaxBlockBytes = 0x7FFFFFFF;  // the largest DIB block the library makes
constexpr uint64_t kMaxEncodedBytes = uint64_t{1} << 30;
constexpr int kJpegQuality = 92;
constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr unsigned char kJpegSignature[3] = {0xFF, 0xD8, 0xFF};

bool Fail(std::string* error, const std::string& reason) {
  if (error) *error = reason;
  return false;
}

PictureFormat FormatOfBytes(const unsigned char* head, size_t size) {
  if (size >= 2 && head[0] == 'B' && head[1] == 'M') return PictureFormat::kBmp;
  if (size >= sizeof kPngSignature && std::memcmp(head, kPngSignature, sizeof kPngSignature) == 0) {
    return PictureFormat::kPng;
  }
  if (size >= sizeof kJpegSignature && std::memcmp(head, kJpegSignature, sizeof kJpegSignature) == 0) {
    return PictureFormat::kJpeg;
  }
  return PictureFormat::kUnknown;
}

const char* FormatName(PictureFormat format) { return format == PictureFormat::kPng ? "PNG" : "JPEG"; }

std::string DecoderReason() {
  const char* reason = stbi_failure_reason();
  return reason ? reason : "no detail";
}

// The two ways of reaching the decoder: an open file or bytes in memory.
struct StbInput {
  std::FILE* file;
  const unsigned char* bytes;
  uint64_t size;     // of the bytes, or of the file when it is a regular file
  bool sizeKnown;
  int Info(int* width, int* height, int* channels) const {
    return file ? stbi_info_from_file(file, width, height, channels)
                : stbi_info_from_memory(bytes, static_cast<int>(size), width, height, channels);
  }
  unsigned char* Load(int* width, int* height, int* channels, int wanted) const {
    return file ? stbi_load_from_file(file, width, height, channels, wanted)
                : stbi_load_from_memory(bytes, static_cast<int>(size), width, height, channels, wanted);
  }
};

// Makes a DIB from decoded rows (top row first, `channels` 1 or 3 bytes a pixel in red,
// green, blue order): 8-bit grey ramp for one channel, 24-bit for three.
HGLOBAL DibFromRows(const unsigned char* pixels, int width, int height, int channels) {
  const bool grey = channels == 1;
  const size_t stride = DibRowStride(width, grey ? 8 : 24);
  const size_t paletteBytes = grey ? kGreyRampColors * kPaletteEntrySize : 0;
  HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kDibHeaderSize + paletteBytes + stride * height);
  auto* out = dib ? static_cast<unsigned char*>(GlobalLock(dib)) : nullptr;
  if (!out) {
    if (dib) GlobalFree(dib);
    return nullptr;
  }
  BITMAPINFOHEADER header = {};
  header.biSize = kDibHeaderSize;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(grey ? 8 : 24);
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(stride * height);
  header.biClrUsed = grey ? kGreyRampColors : 0;
  std::memcpy(out, &header, sizeof header);
  unsigned char* palette = out + kDibHeaderSize;
  for (size_t i = 0; i < paletteBytes / kPaletteEntrySize; ++i) {
    palette[4 * i] = palette[4 * i + 1] = palette[4 * i + 2] = static_cast<unsigned char>(i);
  }
  unsigned char* rows = palette + paletteBytes;
  for (int y = 0; y < height; ++y) {
    const unsigned char* in = pixels + static_cast<size_t>(y) * width * channels;
    unsigned char* row = rows + static_cast<size_t>(height - 1 - y) * stride;
    if (grey) {
      std::memcpy(row, in, static_cast<size_t>(width));
      continue;
    }
    for (int x = 0; x < width; ++x, in += 3, row += 3) {
      row[0] = in[2];
      row[1] = in[1];
      row[2] = in[0];
    }
  }
  GlobalUnlock(dib);
  return dib;
}

// Walks a JPEG's marker segments (and past the entropy-coded data between them) and answers
// false for a Huffman table whose 16 code counts add up to more than 256 codes: the decoder
// would write that many code sizes and symbols into its 256-entry table. `next` gives the
// file's bytes in order and -1 at the end (where the decoder reads zeros); anything else odd
// is left to the decoder.
template <typename Next>
bool JpegTablesFit(Next next) {
  if (next() != 0xFF || next() != 0xD8) return true;
  int c = 0;
  for (;;) {
    while (c != 0xFF) {  // entropy-coded data, or a stray byte: up to the next marker
      if ((c = next()) < 0) return true;
    }
    int marker;
    do {
      marker = next();
    } while (marker == 0xFF);
    c = 0;
    if (marker < 0 || marker == 0xD9) return true;
    if (marker == 0x00 || marker == 0x01 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7)) continue;
    const int high = next(), low = next();
    if (low < 0) return true;
    int left = (high << 8 | low) - 2;
    if (marker != 0xC4) {
      for (; left > 0; --left) {
        if (next() < 0) return true;
      }
      continue;
    }
    while (left > 0) {  // as the decoder reads it: a table whenever any length is left
      next();  // table class and number
      int codes = 0;
      for (int i = 0; i < 16; ++i) codes += std::max(next(), 0);  // the decoder reads 0 past the end
      if (codes > 256) return false;
      left -= 17 + codes;
      for (int i = 0; i < codes; ++i) {
        if (next() < 0) return true;
      }
    }
  }
}

bool JpegTablesFit(const StbInput& input) {
  if (!input.file) {
    size_t at = 0;
    return JpegTablesFit([&] { return at < input.size ? int{input.bytes[at++]} : -1; });
  }
  const bool fit = JpegTablesFit([&] { return std::getc(input.file); });
  return std::fseek(input.file, 0, SEEK_SET) == 0 && fit;
}

// The fewest bytes a file can hold a width x height picture in. A JPEG spends at least a DC
// code and an end-of-block code (a bit each) on every 8 x 8 block of its first component; a
// PNG's deflate stream expands at most about 1032 times, over at least one bit a pixel and a
// filter byte a row. A file below this is truncated, however small its header makes it look.
uint64_t FewestBytes(PictureFormat format, int width, int height) {
  const uint64_t w = static_cast<uint64_t>(width), h = static_cast<uint64_t>(height);
  if (format == PictureFormat::kJpeg) return (w * h / 64) * 2 / 8;
  return ((w + 7) / 8 + 1) * h / 1100;
}

// Decodes a PNG or JPEG after checking its size from the header alone.
HGLOBAL DecodeWithStb(const StbInput& input, PictureFormat format, std::string* error, std::string* note) {
  if (format == PictureFormat::kJpeg && !JpegTablesFit(input)) {
    Fail(error, "corrupt JPEG file (a Huffman table of more than 256 codes)");
    return nullptr;
  }
  int width = 0, height = 0, channels = 0;
  if (!input.Info(&width, &height, &channels) || width < 1 || height < 1) {
    Fail(error, std::string("corrupt or unsupported ") + FormatName(format) + " file (" + DecoderReason() + ")");
    return nullptr;
  }
  const int kept = channels <= 2 ? 1 : 3;  // grey (with or without alpha) or colour
  const uint64_t stride = DibRowStride(width, kept == 1 ? 8 : 24);
  const uint64_t block = kDibHeaderSize + (kept == 1 ? 1024u : 0u) + stride * static_cast<uint64_t>(height);
  if (stride == 0 || block > kMaxBlockBytes) {
    Fail(error, std::string(FormatName(format)) + " picture " + std::to_string(width) + " x " +
                    std::to_string(height) + " too large (the largest image block is 2 GiB)");
    return nullptr;
  }
  if (input.sizeKnown && input.size < FewestBytes(format, width, height)) {
    Fail(error, std::string(FormatName(format)) + " file of " + std::to_string(input.size) +
                    " bytes is truncated: it cannot hold the " + std::to_string(width) + " x " +
                    std::to_string(height) + " picture its header declares");
    return nullptr;
  }
  int gotWidth = 0, gotHeight = 0, gotChannels = 0;
  unsigned char* pixels = input.Load(&gotWidth, &gotHeight, &gotChannels, kept);
  if (!pixels || gotWidth != width || gotHeight != height) {
    Fail(error, std::string("corrupt or truncated ") + FormatName(format) + " file (" + DecoderReason() + ")");
    stbi_image_free(pixels);
    return nullptr;
  }
  HGLOBAL dib = DibFromRows(pixels, width, height, kept);
  stbi_image_free(pixels);
  if (!dib) {
    Fail(error, "out of memory for a " + std::to_string(width) + " x " + std::to_string(height) + " image");
    return nullptr;
  }
  if (note) *note = channels == 2 || channels == 4 ? "alpha channel dropped (effects work on opaque pictures)" : "";
  return dib;
}

// The rows of a DIB as a PNG or JPEG encoder takes them: top row first, one grey byte a pixel
// for a grey-ramp image, else red, green, blue with palette indices looked up.
bool RowsFromDib(const void* bits, size_t size, std::vector<unsigned char>* pixels, int* channels, DibLayout* layout,
                 std::string* error) {
  if (!ReadDibLayout(bits, size, layout)) return Fail(error, "the image to write is not a valid DIB");
  const DibLayout& l = *layout;
  *channels = IsGreyRampBits(bits, size) ? 1 : 3;
  // The encoders count in int: keep their working buffers (a filter byte a row) well inside.
  if ((static_cast<uint64_t>(l.width) * *channels + 1) * static_cast<uint64_t>(l.height) > kMaxEncodedBytes) {
    return Fail(error, "the image is too large to write as PNG or JPEG (write BMP)");
  }
  const uint8_t* palette = DibPalette(bits);
  const auto* rows = static_cast<const uint8_t*>(bits) + l.pixelOffset;
  pixels->resize(static_cast<size_t>(l.width) * l.height * *channels);
  unsigned char* out = pixels->data();
  for (int y = 0; y < l.height; ++y) {
    const uint8_t* row = rows + static_cast<size_t>(l.height - 1 - y) * l.stride;
    for (int x = 0; x < l.width; ++x) {
      if (l.bitCount == 24) {
        *out++ = row[3 * x + 2];
        *out++ = row[3 * x + 1];
        *out++ = row[3 * x];
        continue;
      }
      unsigned index = row[x];
      if (l.bitCount == 4) index = (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
      if (l.bitCount == 1) index = (row[x / 8] >> (7 - x % 8)) & 1;
      if (*channels == 1) {
        *out++ = static_cast<unsigned char>(index);
        continue;
      }
      // An index past the palette has no colour: black.
      const uint8_t* entry = index < l.colorCount ? palette + 4 * index : nullptr;
      *out++ = entry ? entry[2] : 0;
      *out++ = entry ? entry[1] : 0;
      *out++ = entry ? entry[0] : 0;
    }
  }
  return true;
}

void WriteToFile(void* context, void* data, int size) {
  auto* sink = static_cast<std::pair<std::FILE*, bool>*>(context);
  if (size > 0 && std::fwrite(data, 1, static_cast<size_t>(size), sink->first) != static_cast<size_t>(size)) {
    sink->second = false;
  }
}

}  // namespace

PictureFormat FormatOfPath(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return PictureFormat::kUnknown;
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == "bmp") return PictureFormat::kBmp;
  if (extension == "png") return PictureFormat::kPng;
  if (extension == "jpg" || extension == "jpeg") return PictureFormat::kJpeg;
  return PictureFormat::kUnknown;
}

HGLOBAL DecodePicture(const unsigned char* bytes, size_t size, std::string* error, std::string* note) {
  if (note) note->clear();
  const PictureFormat format = FormatOfBytes(bytes, size);
  if (format == PictureFormat::kBmp) return DecodeBmp(bytes, size, error);
  if (format == PictureFormat::kUnknown || size > INT32_MAX) {
    Fail(error, format == PictureFormat::kUnknown ? "not a BMP, PNG or JPEG file" : "file too large");
    return nullptr;
  }
  return DecodeWithStb(StbInput{nullptr, bytes, size, true}, format, error, note);
}

HGLOBAL LoadPictureFile(const std::string& path, std::string* error, std::string* note) {
  if (note) note->clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    Fail(error, "cannot open " + path + ": " + std::strerror(errno));
    return nullptr;
  }
  unsigned char head[8] = {};
  const size_t got = std::fread(head, 1, sizeof head, file);
  const PictureFormat format = FormatOfBytes(head, got);
  std::string reason = "not a BMP, PNG or JPEG file";
  HGLOBAL dib = nullptr;
  if (format != PictureFormat::kUnknown && std::fseek(file, 0, SEEK_SET) != 0) {
    reason = "cannot read the file from its start again (a pipe?); give a file";
  } else if (format != PictureFormat::kUnknown) {
    const int64_t length = RegularFileBytesLeft(file);
    const StbInput input{file, nullptr, length > 0 ? static_cast<uint64_t>(length) : 0, length >= 0};
    dib = format == PictureFormat::kBmp ? ReadBmpStream(file, &reason) : DecodeWithStb(input, format, &reason, note);
  }
  std::fclose(file);
  if (!dib) Fail(error, path + ": " + reason);
  return dib;
}

bool SavePictureFile(const std::string& path, PictureFormat format, HGLOBAL dib, std::string* error) {
  if (format == PictureFormat::kBmp) return SaveBmpFile(path, dib, error);
  if (format == PictureFormat::kUnknown) return Fail(error, "cannot tell the format of " + path + " from its name");
  const void* bits = dib ? GlobalLock(dib) : nullptr;
  if (!bits) return Fail(error, "no image to write");
  std::vector<unsigned char> pixels;
  int channels = 0;
  DibLayout layout;
  const bool valid = RowsFromDib(bits, GlobalSize(dib), &pixels, &channels, &layout, error);
  GlobalUnlock(dib);
  if (!valid) return false;
  return WriteFileWhole(
      path,
      [&](std::FILE* file) {
        std::pair<std::FILE*, bool> sink{file, true};
        const int done =
            format == PictureFormat::kPng
                ? stbi_write_png_to_func(WriteToFile, &sink, layout.width, layout.height, channels, pixels.data(),
                                         layout.width * channels)
                : stbi_write_jpg_to_func(WriteToFile, &sink, layout.width, layout.height, channels, pixels.data(),
                                         kJpegQuality);
        return done != 0 && sink.second;
      },
      error);
}
