#include "storage/check_storage_result.h"

#include <stdexcept>

#include "common/general_messages.h"
#include "storage/storage_messages.h"

namespace txtppt2 {

namespace {

// The results of structured storage that have a message of their own.
// A Read answering one marked failsRead fails with its message, whatever
// it delivered; other Read results are judged by the count delivered.
struct StorageResultText {
  HRESULT result;
  const char* message;
  bool failsRead;
};

constexpr StorageResultText kStorageResultTexts[] = {
    {STG_E_INVALIDFUNCTION, messages::kErrorInParameters, false},
    {STG_E_INVALIDPOINTER, messages::kErrorInParameters, true},
    {STG_E_INVALIDPARAMETER, messages::kErrorInParameters, false},
    {STG_E_INVALIDNAME, messages::kErrorInParameters, false},
    {STG_E_INVALIDFLAG, messages::kErrorInParameters, false},
    {STG_E_FILENOTFOUND, messages::kStreamNotFound, false},
    {STG_E_PATHNOTFOUND, messages::kPathNotFound, false},
    {STG_E_TOOMANYOPENFILES, messages::kTooManyOpenFiles, false},
    {STG_E_ACCESSDENIED, messages::kAccessDenied, true},
    {STG_E_INSUFFICIENTMEMORY, messages::kOutOfMemory, false},
    {STG_E_SHAREVIOLATION, messages::kShareViolation, false},
    // A lock violation has always been reported with the older-version text.
    {STG_E_LOCKVIOLATION, messages::kOlderDll, false},
    {STG_E_OLDDLL, messages::kOlderDll, false},
    {STG_E_FILEALREADYEXISTS, messages::kNotAStorage, false},
    {STG_E_REVERTED, messages::kReverted, true},
    // A success that is no promise of the bytes.
    {S_FALSE, messages::kReadError, true},
};

}  // namespace

const char* StorageResultMessage(HRESULT result) {
  for (const StorageResultText& text : kStorageResultTexts)
    if (text.result == result) return text.message;
  return messages::kUnknownStorageError;
}

const char* ReadFailureMessage(HRESULT result) {
  for (const StorageResultText& text : kStorageResultTexts)
    if (text.result == result) return text.failsRead ? text.message : nullptr;
  return nullptr;
}

void CheckStorageResult(HRESULT result) {
  if (result >= 0) return;
  throw std::runtime_error(StorageResultMessage(result));
}

}  // namespace txtppt2
