#include "console.h"

#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#include <stdio.h>
namespace {
int DescriptorOf(std::FILE* file) { return _fileno(file); }
bool IsTerminal(int descriptor) { return _isatty(descriptor) != 0; }
bool RegularFileLength(int descriptor, int64_t* length) {
  struct _stat64 info;
  if (_fstat64(descriptor, &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG) return false;
  *length = info.st_size;
  return true;
}
int64_t Position(std::FILE* file) { return _ftelli64(file); }
}  // namespace
#else
#include <unistd.h>
namespace {
int DescriptorOf(std::FILE* file) { return fileno(file); }
bool IsTerminal(int descriptor) { return isatty(descriptor) != 0; }
bool RegularFileLength(int descriptor, int64_t* length) {
  struct stat info;
  if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) return false;
  *length = info.st_size;
  return true;
}
int64_t Position(std::FILE* file) { return ftello(file); }
}  // namespace
#endif

bool StderrIsTerminal() { return IsTerminal(DescriptorOf(stderr)); }

int64_t RegularFileBytesLeft(std::FILE* file) {
  int64_t length = 0;
  if (!RegularFileLength(DescriptorOf(file), &length)) return -1;
  const int64_t here = Position(file);
  return here >= 0 && here <= length ? length - here : -1;
}
