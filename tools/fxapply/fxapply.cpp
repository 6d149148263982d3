#include "tools/fxapply/fxapply.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "engine/catalogue.h"
#include "engine/random.h"
#include "image/dib.h"
#include "platform/boundary.h"
#include "platform/console.h"
#include "tools/fxapply/picture_file.h"

namespace {

constexpr int kExitWritten = 0;
constexpr int kExitUsage = 1;
constexpr int kExitNoImage = 2;
constexpr const char* kCurveField = "curve[256]";
constexpr int kCurveBytes = 256;

const char kUsage[] =
    "usage: fxapply [--seed N] [--quiet] EFFECT INPUT OUTPUT [FIELD ...]\n"
    "       fxapply --list\n"
    "       fxapply --help\n"
    "INPUT is a BMP, PNG or JPEG file; OUTPUT is written as BMP, PNG or JPEG by its extension\n"
    "(.bmp, .png, .jpg or .jpeg).\n";

struct Options {
  bool help = false;
  bool list = false;
  bool quiet = false;
  bool seeded = false;
  uint32_t seed = 1;
  std::vector<std::string> positional;  // EFFECT INPUT OUTPUT FIELD...
};

// Parses a signed or unsigned integer, decimal or 0x hex, into [low, high]. The whole text
// must be the number.
bool ParseInteger(const std::string& text, int64_t low, int64_t high, int64_t* value) {
  const char* s = text.c_str();
  const bool negative = *s == '-';
  if (*s == '-' || *s == '+') ++s;
  int base = 10;
  if (s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s += 2;
  }
  if (!*s || !std::isxdigit(static_cast<unsigned char>(*s))) return false;
  errno = 0;
  char* end = nullptr;
  const unsigned long long magnitude = std::strtoull(s, &end, base);
  if (*end || errno == ERANGE || magnitude > (1ull << 32)) return false;
  const int64_t v = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
  if (v < low || v > high) return false;
  *value = v;
  return true;
}

std::vector<std::string> SplitFields(const char* fields) {
  std::vector<std::string> names;
  std::istringstream stream(fields);
  for (std::string name; stream >> name;) names.push_back(name);
  return names;
}

int Usage(std::FILE* err, const std::string& message) {
  std::fprintf(err, "fxapply: %s\n%s", message.c_str(), kUsage);
  return kExitUsage;
}

int Error(std::FILE* err, const std::string& message) {
  std::fprintf(err, "fxapply: %s\n", message.c_str());
  return kExitUsage;
}

// Returns an empty string when the options parse, else the complaint.
std::string ParseOptions(int argc, const char* const* argv, Options* options) {
  int i = 1;
  for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help") {
      options->help = true;
      return "";
    } else if (arg == "--list") {
      options->list = true;
    } else if (arg == "--quiet") {
      options->quiet = true;
    } else if (arg == "--seed") {
      int64_t seed;
      if (i + 1 >= argc || !ParseInteger(argv[i + 1], 0, UINT32_MAX, &seed)) {
        return "--seed needs a number from 0 to 4294967295";
      }
      options->seeded = true;
      options->seed = static_cast<uint32_t>(seed);
      ++i;
    } else {
      return "unknown option " + arg;
    }
  }
  for (; i < argc; ++i) options->positional.emplace_back(argv[i]);
  if (options->list) return options->positional.empty() ? "" : "--list takes no other arguments";
  if (options->positional.size() < 3) return "EFFECT, INPUT and OUTPUT are required";
  return "";
}

void ListEffects(std::FILE* out) {
  size_t count = 0;
  const EffectRow* rows = CatalogueRows(&count);
  for (size_t i = 0; i < count; ++i) {
    if (!rows[i].HasRoutine()) continue;
    const char* fields = *rows[i].fields ? rows[i].fields : "(no fields)";
    std::fprintf(out, "%3d  %-28s %s\n", rows[i].id, rows[i].name, fields);
  }
}

// Builds the record from the FIELD arguments in record order; missing trailing fields are 0.
// A field named "curve[256]" takes 256 byte values. Returns an empty string on success.
std::string BuildRecord(const EffectRow& row, const std::vector<std::string>& args,
                        std::vector<unsigned char>* record) {
  const std::vector<std::string> names = SplitFields(row.fields);
  size_t capacity = 0;
  for (const std::string& name : names) capacity += name == kCurveField ? kCurveBytes : 1;
  if (args.size() > capacity) {
    return "effect " + std::to_string(row.id) + " takes at most " + std::to_string(capacity) +
           " fields (" + (names.empty() ? std::string("none") : std::string(row.fields)) + "), got " +
           std::to_string(args.size());
  }
  size_t next = 0;
  for (const std::string& name : names) {
    const bool curve = name == kCurveField;
    const int values = curve ? kCurveBytes : 1;
    for (int k = 0; k < values; ++k) {
      int64_t value = 0;
      if (next < args.size()) {
        const bool ok = curve ? ParseInteger(args[next], 0, 255, &value)
                              : ParseInteger(args[next], INT32_MIN, UINT32_MAX, &value);
        if (!ok) {
          return "field " + std::to_string(next + 1) + " (" + name + ") is not " +
                 (curve ? "a byte from 0 to 255" : "a 32-bit number") + ": '" + args[next] + "'";
        }
        ++next;
      }
      const auto word = static_cast<uint32_t>(value);
      for (int b = 0; b < (curve ? 1 : 4); ++b) record->push_back(static_cast<unsigned char>(word >> (8 * b)));
    }
  }
  return "";
}

// A progress bar on stderr, drawn once a run has lasted a moment.
struct ProgressBar {
  std::FILE* err = nullptr;
  std::chrono::steady_clock::time_point start;
  bool shown = false;
};
ProgressBar progressBar;

void WINAPI DrawProgress(int percent) {
  using namespace std::chrono;
  ProgressBar& bar = progressBar;
  if (!bar.shown && steady_clock::now() - bar.start < milliseconds(300)) return;
  bar.shown = true;
  const int filled = percent / 5;
  std::fprintf(bar.err, "\r[%.*s%*s] %3d%%", filled, "####################", 20 - filled, "", percent);
  std::fflush(bar.err);
}

const char* KindName(int kind) {
  static const char* const kNames[] = {"unsupported", "8-bit grey", "24-bit", "8-bit palette", "4-bit", "1-bit"};
  return kind >= 0 && kind <= 5 ? kNames[kind] : "unsupported";
}

// Owns a DIB block for the length of a run, whichever way the run ends.
struct OwnedDib {
  HGLOBAL handle = nullptr;
  OwnedDib() = default;
  OwnedDib(const OwnedDib&) = delete;
  OwnedDib& operator=(const OwnedDib&) = delete;
  ~OwnedDib() {
    if (handle) GlobalFree(handle);
  }
};

int Run(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  Options options;
  const std::string complaint = ParseOptions(argc, argv, &options);
  if (!complaint.empty()) return Usage(err, complaint);
  if (options.help) {
    std::fputs(kUsage, out);
    return kExitWritten;
  }
  if (options.list) {
    ListEffects(out);
    return kExitWritten;
  }

  int64_t id = 0;
  const std::string& effectText = options.positional[0];
  const EffectRow* row = ParseInteger(effectText, INT32_MIN, INT32_MAX, &id) ? FindEffect(static_cast<int>(id)) : nullptr;
  if (!row || !row->HasRoutine()) {
    return Error(err, "unknown effect identifier '" + effectText + "' (fxapply --list shows the effects)");
  }
  std::vector<unsigned char> record;
  const std::vector<std::string> fieldArgs(options.positional.begin() + 3, options.positional.end());
  const std::string fieldComplaint = BuildRecord(*row, fieldArgs, &record);
  if (!fieldComplaint.empty()) return Error(err, fieldComplaint);

  const std::string& outputPath = options.positional[2];
  const PictureFormat outputFormat = FormatOfPath(outputPath);
  if (outputFormat == PictureFormat::kUnknown) {
    return Error(err, "cannot tell the output format of '" + outputPath + "': name it .bmp, .png, .jpg or .jpeg");
  }
  std::string error, note;
  OwnedDib inputBlock;
  inputBlock.handle = LoadPictureFile(options.positional[1], &error, &note);
  HGLOBAL input = inputBlock.handle;
  if (!input) return Error(err, error);
  if (!note.empty()) std::fprintf(err, "fxapply: note: %s: %s\n", options.positional[1].c_str(), note.c_str());

  if (options.seeded) SeedRandom(options.seed);
  const bool showProgress = !options.quiet && StderrIsTerminal();
  progressBar = ProgressBar{err, std::chrono::steady_clock::now(), false};
  if (showProgress) SetFxProgressHook(1, DrawProgress);
  OwnedDib resultBlock;
  resultBlock.handle = ApplyEffect(input, row->id, record.empty() ? nullptr : record.data());
  HGLOBAL result = resultBlock.handle;
  SetFxProgressHook(1, nullptr);
  if (progressBar.shown) std::fputc('\n', err);

  int width = 0, height = 0;
  GetDibSize(input, &width, &height);
  const int kind = ClassifyDib(input);
  if (!result) {
    std::fprintf(err,
                 "fxapply: effect %d (%s) gave no image for this %s %d x %d picture: the parameters were "
                 "refused, the image kind is not supported, there was nothing to do, or the run was aborted\n",
                 row->id, row->name, KindName(kind), width, height);
    return kExitNoImage;
  }
  if (!SavePictureFile(outputPath, outputFormat, result, &error)) return Error(err, error);
  return kExitWritten;
}

}  // namespace

// A run that runs out of memory anywhere (a C++ allocation throwing) ends as a file error:
// one line, status 1, nothing written.
int RunFxApply(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  const int status = AtBoundary(-1, [&] { return Run(argc, argv, out, err); });
  if (status >= 0) return status;
  SetFxProgressHook(1, nullptr);
  std::fputs("fxapply: out of memory\n", err);
  return kExitUsage;
}
