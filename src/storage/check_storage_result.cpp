#include "storage/check_storage_result.h"

#include <stdexcept>

#include "storage/storage_messages.h"

namespace txtppt2 {

const char* StorageResultMessage(HRESULT result) {
  switch (static_cast<uint32_t>(result)) {
    case 0x80030001:  // STG_E_INVALIDFUNCTION
    case 0x80030009:  // STG_E_INVALIDPOINTER
    case 0x80030057:  // STG_E_INVALIDPARAMETER
    case 0x800300FC:  // STG_E_INVALIDNAME
    case 0x800300FF:  // STG_E_INVALIDFLAG
      return messages::kErrorInParameters;
    case 0x80030002:  // STG_E_FILENOTFOUND
      return messages::kStreamNotFound;
    case 0x80030003:  // STG_E_PATHNOTFOUND
      return messages::kPathNotFound;
    case 0x80030004:  // STG_E_TOOMANYOPENFILES
      return messages::kTooManyOpenFiles;
    case 0x80030005:  // STG_E_ACCESSDENIED
      return messages::kAccessDenied;
    case 0x80030008:  // STG_E_INSUFFICIENTMEMORY
      return messages::kOutOfMemory;
    case 0x80030020:  // STG_E_SHAREVIOLATION
      return messages::kShareViolation;
    case 0x80030021:  // STG_E_LOCKVIOLATION: the older-version text, as ever
    case 0x80030105:  // STG_E_OLDDLL
      return messages::kOlderDll;
    case 0x80030050:  // STG_E_FILEALREADYEXISTS
      return messages::kNotAStorage;
    case 0x80030102:  // STG_E_REVERTED
      return messages::kReverted;
    default:
      return messages::kUnknownStorageError;
  }
}

void CheckStorageResult(HRESULT result) {
  if (result >= 0) return;
  throw std::runtime_error(StorageResultMessage(result));
}

}  // namespace txtppt2
