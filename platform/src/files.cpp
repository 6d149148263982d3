// The old-style file calls over POSIX descriptors. An HFILE is the descriptor itself.
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The MS-DOS error codes that OpenFile reports in nErrCode.
WORD DosError(int error) {
  switch (error) {
    case ENOENT: return 2;   // file not found
    case ENOTDIR: return 3;  // path not found
    case EMFILE: return 4;   // too many open files
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return 5;    // access denied
    default: return 31;      // general failure
  }
}

void FillOfStruct(LPOFSTRUCT of, LPCSTR fileName, int error) {
  if (!of) return;
  std::memset(of, 0, sizeof(*of));
  of->cBytes = static_cast<BYTE>(sizeof(*of));
  of->fFixedDisk = 1;
  of->nErrCode = error ? DosError(error) : 0;
  char full[PATH_MAX];
  const char* path = realpath(fileName, full) ? full : fileName;
  // The path is cut to the structure's 128 bytes, as the system does.
  const size_t length = std::min(std::strlen(path), size_t{OFS_MAXPATHNAME - 1});
  std::memcpy(of->szPathName, path, length);
}

int AccessFlags(UINT style) {
  switch (style & 3) {
    case OF_WRITE: return O_WRONLY;
    case OF_READWRITE: return O_RDWR;
    default: return (style & OF_CREATE) ? O_RDWR : O_RDONLY;
  }
}

}  // namespace

HFILE OpenFile(LPCSTR fileName, LPOFSTRUCT reOpenBuff, UINT style) {
  if (!fileName) return HFILE_ERROR;
  if (style & OF_DELETE) {
    const int result = unlink(fileName);
    FillOfStruct(reOpenBuff, fileName, result == 0 ? 0 : errno);
    return result == 0 ? 1 : HFILE_ERROR;
  }
  if (style & OF_PARSE) {
    FillOfStruct(reOpenBuff, fileName, 0);
    return 0;
  }
  int flags = AccessFlags(style) | O_CLOEXEC;
  if (style & OF_CREATE) flags |= O_CREAT | O_TRUNC;
  const int fd = open(fileName, flags, 0666);
  FillOfStruct(reOpenBuff, fileName, fd < 0 ? errno : 0);
  if (fd < 0) return HFILE_ERROR;
  if (style & OF_EXIST) {
    close(fd);
    return 1;
  }
  return fd;
}

UINT _lread(HFILE file, LPVOID buffer, UINT bytes) {
  UINT done = 0;
  auto* out = static_cast<char*>(buffer);
  while (done < bytes) {
    const ssize_t n = read(file, out + done, bytes - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return static_cast<UINT>(HFILE_ERROR);
    if (n == 0) break;
    done += static_cast<UINT>(n);
  }
  return done;
}

// Writes the bytes; a count of 0 truncates the file at the current position.
UINT _lwrite(HFILE file, LPCCH buffer, UINT bytes) {
  if (bytes == 0) {
    const off_t here = lseek(file, 0, SEEK_CUR);
    if (here < 0 || ftruncate(file, here) != 0) return static_cast<UINT>(HFILE_ERROR);
    return 0;
  }
  UINT done = 0;
  while (done < bytes) {
    const ssize_t n = write(file, buffer + done, bytes - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return static_cast<UINT>(HFILE_ERROR);
    done += static_cast<UINT>(n);
  }
  return done;
}

LONG _llseek(HFILE file, LONG offset, int origin) {
  static const int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  if (origin < FILE_BEGIN || origin > FILE_END) return HFILE_ERROR;
  const off_t position = lseek(file, offset, kWhence[origin]);
  if (position < 0 || position > LONG_MAX) return HFILE_ERROR;
  return static_cast<LONG>(position);
}

HFILE _lclose(HFILE file) { return close(file) == 0 ? 0 : HFILE_ERROR; }
