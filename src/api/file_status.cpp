#include "api/file_status.h"

namespace txtppt2 {

const char* FileStatusName(FileStatus status) {
  switch (status) {
    case FileStatus::kOk: return "ok";
    case FileStatus::kEncrypted: return "encrypted";
    case FileStatus::kOldFormat: return "old_format";
    case FileStatus::kOtherFormat: return "other_format";
    case FileStatus::kDamaged: return "damaged";
    case FileStatus::kUnreadable: return "unreadable";
  }
  return "damaged";
}

}  // namespace txtppt2
