#include "api/file_status.h"

#include <cerrno>

namespace txtppt2 {

const char* FileStatusName(FileStatus status) {
  switch (status) {
    case FileStatus::kOk:
      return "ok";
    case FileStatus::kEncrypted:
      return "encrypted";
    case FileStatus::kOldFormat:
      return "old_format";
    case FileStatus::kOtherFormat:
      return "other_format";
    case FileStatus::kDamaged:
      return "damaged";
    case FileStatus::kUnreadable:
      return "unreadable";
  }
  return "unknown";
}

const char* ErrnoName(int error) {
  switch (error) {
    case ENOENT:
      return "ENOENT";
    case ENOTDIR:
      return "ENOTDIR";
    case EISDIR:
      return "EISDIR";
    case EACCES:
      return "EACCES";
    case EPERM:
      return "EPERM";
    case ELOOP:
      return "ELOOP";
    case ENAMETOOLONG:
      return "ENAMETOOLONG";
    case EIO:
      return "EIO";
    case EMFILE:
      return "EMFILE";
    case ENFILE:
      return "ENFILE";
    case ENOMEM:
      return "ENOMEM";
    case EFBIG:
      return "EFBIG";
    case ENXIO:
      return "ENXIO";
    case ENODEV:
      return "ENODEV";
    case EINVAL:
      return "EINVAL";
    case EOVERFLOW:
      return "EOVERFLOW";
    case ETXTBSY:
      return "ETXTBSY";
    case EAGAIN:
      return "EAGAIN";
    case EINTR:
      return "EINTR";
  }
  return "EUNKNOWN";
}

}  // namespace txtppt2
