#include "platform/compound_file/file_byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <string_view>

namespace txtppt2 {

namespace {

// One pread moves at most this much; larger reads loop.
constexpr size_t kMaxReadChunk = size_t{1} << 30;

// Whether the folder that would hold path exists.
bool ParentFolderExists(const char* path) {
  std::string_view name(path);
  // "dir/name/" names dir/name: drop trailing slashes before the last part.
  while (name.size() > 1 && name.back() == '/') name.remove_suffix(1);
  size_t slash = name.rfind('/');
  std::string folder(slash == std::string_view::npos ? std::string_view(".")
                     : slash == 0                    ? name.substr(0, 1)
                                                     : name.substr(0, slash));
  struct stat info;
  return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

HRESULT ResultForOpenError(int errorNumber, const char* path) {
  switch (errorNumber) {
    case ENOENT:
      return ParentFolderExists(path) ? STG_E_FILENOTFOUND : STG_E_PATHNOTFOUND;
    case ENOTDIR:  // a file where a folder should be
    case ENAMETOOLONG:
    case ELOOP:
      return STG_E_PATHNOTFOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
      return STG_E_ACCESSDENIED;
    case EMFILE:
    case ENFILE:
      return STG_E_TOOMANYOPENFILES;
    case ENOMEM:
      return STG_E_INSUFFICIENTMEMORY;
    default:
      // What Windows' structured storage answers for other open failures.
      return E_FAIL;
  }
}

HRESULT FileByteSource::Open(const char* path,
                             std::unique_ptr<ByteSource>* out) {
  // O_NONBLOCK keeps a FIFO from blocking the open; it changes nothing for
  // a regular file.
  int fd;
  do {
    fd = open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return ResultForOpenError(errno, path);
  struct stat info;
  if (fstat(fd, &info) != 0) {
    int error = errno;
    close(fd);
    return ResultForOpenError(error, path);
  }
  if (S_ISDIR(info.st_mode)) {
    close(fd);
    return STG_E_ACCESSDENIED;
  }
  // Devices, FIFOs and sockets report no size and so read as an empty file,
  // which is not a compound file.
  uint64_t size = S_ISREG(info.st_mode) && info.st_size > 0
                      ? static_cast<uint64_t>(info.st_size)
                      : 0;
  try {
    out->reset(new FileByteSource(fd, size));
  } catch (...) {
    close(fd);
    throw;
  }
  return S_OK;
}

FileByteSource::FileByteSource(int fd_, uint64_t size_)
    : ByteSource(size_), fd(fd_) {}

FileByteSource::~FileByteSource() { close(fd); }

size_t FileByteSource::ReadAt(uint64_t offset, void* buffer, size_t count) {
  auto* bytes = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  while (done < count) {
    uint64_t at = offset + done;
    if (at < offset || at > static_cast<uint64_t>(INT64_MAX)) break;
    size_t chunk = count - done < kMaxReadChunk ? count - done : kMaxReadChunk;
    ssize_t n = pread(fd, bytes + done, chunk, static_cast<off_t>(at));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

}  // namespace txtppt2
