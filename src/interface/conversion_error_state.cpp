#include "interface/conversion_error_state.h"

#include <cstdlib>
#include <new>

#include "common/general_messages.h"
#include "platform/windows.h"

#ifndef _WIN32
#include <pthread.h>
#endif

namespace txtppt2 {
namespace {

// Thread-local data in the block every thread gets when it starts (or when
// the library is loaded): reaching it never allocates.
#if defined(__GNUC__) && !defined(_WIN32)
#define TXTPPT2_STATIC_TLS __attribute__((tls_model("initial-exec")))
#else
#define TXTPPT2_STATIC_TLS
#endif

thread_local ConversionErrorState* threadRecord TXTPPT2_STATIC_TLS = nullptr;
// Set when the thread's record could not be made; the next call tries again
// (and once made, the record is what the thread reads).
thread_local bool threadRecordLost TXTPPT2_STATIC_TLS = false;

constexpr ConversionErrorState kNoRecord;
constexpr ConversionErrorState kRecordLost(messages::kOutOfMemory,
                                           txtppt2_conversion_failed);

void DeleteThreadRecord(void* record) {
  std::free(record);  // the record's destructor is trivial
  threadRecord = nullptr;
}

// Frees the thread's record when the thread ends.
#ifdef _WIN32
// The runtime runs a thread's thread_local destructors as it ends.
struct ThreadRecordOwner {
  ~ThreadRecordOwner() { DeleteThreadRecord(threadRecord); }
};

bool OwnThreadRecord(ConversionErrorState*) {
  static thread_local ThreadRecordOwner owner;
  (void)owner;
  return true;
}
#else
// A key whose destructor frees the record as the thread ends. glibc's own
// thread_local destructors are avoided: registering one allocates, and a
// failure there ends the process. The key is made on first use and deleted
// when the library is unloaded.
class RecordKey {
 public:
  RecordKey() : made(pthread_key_create(&key, DeleteThreadRecord) == 0) {}
  ~RecordKey() {
    if (made) pthread_key_delete(key);
  }
  bool Own(ConversionErrorState* record) {
    return made && pthread_setspecific(key, record) == 0;
  }

 private:
  pthread_key_t key;
  bool made;
};

bool OwnThreadRecord(ConversionErrorState* record) {
  static RecordKey recordKey;
  return recordKey.Own(record);
}
#endif

}  // namespace

ConversionErrorState* ConversionErrorState::ForThisThread() {
  if (threadRecord != nullptr) return threadRecord;
  // malloc, not new: a failed new throws, and throwing reaches the C++
  // runtime's own thread-local data, which a runtime loaded with the library
  // allocates on first use.
  void* memory = std::malloc(sizeof(ConversionErrorState));
  auto* record = memory ? new (memory) ConversionErrorState : nullptr;
  if (record == nullptr || !OwnThreadRecord(record)) {
    std::free(memory);
    threadRecordLost = true;
    return nullptr;
  }
  threadRecord = record;
  return record;
}

const ConversionErrorState& ConversionErrorState::ToReport() {
  if (threadRecord != nullptr) return *threadRecord;
  return threadRecordLost ? kRecordLost : kNoRecord;
}

void ConversionErrorState::SetConversionError(const char* text,
                                              uint32_t newCode) {
  lstrcpynA(message, text, kMessageCapacity);
  code = newCode;
}

void ConversionErrorState::ClearConversionError() {
  message[0] = '\0';
  code = txtppt2_no_error;
}

uint32_t ConversionErrorState::ReportedCode() const {
  if (code != txtppt2_no_error) return code;
  return message[0] != '\0' ? txtppt2_error_in_parameters : txtppt2_no_error;
}

int32_t ConversionErrorState::CopyMessage(char* buffer,
                                          int32_t bufferSize) const {
  lstrcpynA(buffer, message, bufferSize);
  return ReportedCode() != 0 ? 1 : 0;
}

}  // namespace txtppt2
