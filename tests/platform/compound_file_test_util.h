// Helpers shared by the compound file reader's tests: owning pointers for
// COM objects and the few calls every test makes (open bytes through a
// MemoryLockBytes, read a whole stream, widen names).
#ifndef TXTPPT2_TESTS_PLATFORM_COMPOUND_FILE_TEST_UTIL_H_
#define TXTPPT2_TESTS_PLATFORM_COMPOUND_FILE_TEST_UTIL_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/windows.h"
#include "storage/memory_lock_bytes.h"

namespace txtppt2::testing {

struct ComRelease {
  void operator()(IUnknown* object) const {
    if (object != nullptr) object->Release();
  }
};
template <typename T>
using ComPtr = std::unique_ptr<T, ComRelease>;

constexpr DWORD kReadStorageMode = STGM_READ | STGM_SHARE_DENY_WRITE;

// Opens the compound file held in bytes, which must outlive the storage.
inline HRESULT OpenFromMemory(const std::string& bytes, ComPtr<IStorage>* out) {
  auto* lockBytes =
      new MemoryLockBytes(reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<ULONG>(bytes.size()));
  lockBytes->AddRef();
  // Not null: every way out must set it.
  IStorage* storage = reinterpret_cast<IStorage*>(out);
  HRESULT hr = StgOpenStorageOnILockBytes(lockBytes, nullptr, kReadStorageMode,
                                          nullptr, 0, &storage);
  lockBytes->Release();
  if ((storage != nullptr) != (hr == S_OK)) return E_FAIL;
  out->reset(storage);
  return hr;
}

inline HRESULT OpenStream(IStorage* storage, const char16_t* name,
                          ComPtr<IStream>* out) {
  IStream* stream = reinterpret_cast<IStream*>(out);  // to be set
  HRESULT hr = storage->OpenStream(
      name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream);
  if ((stream != nullptr) != (hr == S_OK)) return E_FAIL;
  out->reset(stream);
  return hr;
}

// Reads from the current position to where Read delivers nothing, chunk
// bytes per call; every Read must answer S_OK.
inline std::string ReadToEnd(IStream* stream, ULONG chunk = 4096) {
  std::string bytes;
  std::string buffer(chunk, '\0');
  for (;;) {
    ULONG got = 0;
    HRESULT hr = stream->Read(buffer.data(), chunk, &got);
    if (hr != S_OK) ADD_FAILURE() << "Read answered " << std::hex << hr;
    if (hr != S_OK || got == 0 || got > chunk) break;
    bytes.append(buffer.data(), got);
  }
  return bytes;
}

inline std::u16string Utf16(const std::string& text) {
  int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  std::u16string wide(static_cast<size_t>(n), u'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), n);
  wide.pop_back();
  return wide;
}

// Compares bytes without printing them: the size and the first difference.
inline ::testing::AssertionResult SameBytes(const std::string& actual,
                                            const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (at < actual.size() && at < expected.size() &&
         actual[at] == expected[at])
    ++at;
  return ::testing::AssertionFailure()
         << actual.size() << " bytes where " << expected.size()
         << " were expected, first difference at offset " << at;
}

}  // namespace txtppt2::testing

#endif  // TXTPPT2_TESTS_PLATFORM_COMPOUND_FILE_TEST_UTIL_H_
