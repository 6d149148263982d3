// Fuzz entry: a picture file through fxapply, run in-process as a user would run the command
// (invert, which touches every pixel of every kind). Whatever the bytes, the run ends with a
// status (0 written, 1 refused, 2 no image), writes a file only on 0, and frees every block.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform_control.h"
#include "tools/fxapply/fxapply.h"

namespace {

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fxapply fuzz: %s\n", what);
  std::abort();
}

bool Exists(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file) std::fclose(file);
  return file != nullptr;
}

// A folder of this process's own for the input and output files.
const std::string& Folder() {
  static const std::string folder = [] {
    const char* tmp = std::getenv("TMPDIR");
    std::string path = std::string(tmp && *tmp ? tmp : "/tmp") + "/fxapply-fuzz-" + std::to_string(getpid());
    Check(mkdir(path.c_str(), 0700) == 0 || Exists(path), "cannot make the work folder");
    return path;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input = Folder() + "/in", output = Folder() + "/out.bmp";
  std::FILE* file = std::fopen(input.c_str(), "wb");
  Check(file && std::fwrite(data, 1, size, file) == size && std::fclose(file) == 0, "cannot write the input");
  const char* argv[] = {"fxapply", "--quiet", "6", input.c_str(), output.c_str()};
  std::FILE* sink = std::fopen("/dev/null", "w");
  const size_t blocks = PlatformLiveBlockCount();
  const int status = RunFxApply(5, argv, sink, sink);
  std::fclose(sink);
  Check(status >= 0 && status <= 2, "status outside 0, 1, 2");
  Check(PlatformLiveBlockCount() == blocks, "memory blocks leaked");
  Check(Exists(output) == (status == 0), "output written without success, or missing after it");
  Check(!Exists(output + ".partial"), "partial output left behind");
  std::remove(output.c_str());
  return 0;
}
