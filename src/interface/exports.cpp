// The library's exported functions: the C face of the converter. Narrow
// paths are converted to UTF-16 and handed to the wide twin; conversions go
// to the driver, which records their outcome in the calling thread's error
// record. No exception crosses this boundary.
#include "driver/conversion_driver.h"
#include "driver/narrow_path.h"
#include "driver/support_probes.h"
#include "interface/conversion_error_state.h"
#include "interface/type_registry.h"
#include "platform/windows.h"
#include "txtppt2.h"

namespace txtppt2 {
namespace {

static_assert(sizeof(txtppt2_char16) == sizeof(WCHAR));

const WCHAR* AsWide(const txtppt2_char16* path) {
  return reinterpret_cast<const WCHAR*>(path);
}

// Converts a narrow path into path, or records "Error in parameters" in
// the thread's record and answers false.
bool WidenPath(const char* narrow, WCHAR (&path)[kPathCapacity]) {
  return WidenNarrowPath(narrow, path, ConversionErrorState::ForThisThread());
}

// A conversion needs the thread's error record; without one it fails at
// once, and the thread reads "Out of memory".
HGLOBAL ConvertPath(const WCHAR* path, OutputMode mode, uint32_t* count) {
  ConversionErrorState* record = ConversionErrorState::ForThisThread();
  if (record == nullptr) return nullptr;
  return ConvertFile(path, mode, count, *record);
}

HGLOBAL ConvertNarrowPath(const char* narrow, OutputMode mode,
                          uint32_t* count) {
  WCHAR path[kPathCapacity];
  if (!WidenPath(narrow, path)) return nullptr;
  return ConvertPath(path, mode, count);
}

HGLOBAL ConvertBlock(const void* data, OutputMode mode, uint32_t* count) {
  ConversionErrorState* record = ConversionErrorState::ForThisThread();
  if (record == nullptr) return nullptr;
  return ConvertMemory(static_cast<const BYTE*>(data), mode, count, *record);
}

}  // namespace
}  // namespace txtppt2

using namespace txtppt2;

extern "C" {

void* ConvertToUnicode(const char* path, uint32_t* count) {
  return ConvertNarrowPath(path, kUnicode, count);
}

void* ConvertToUnicodeW(const txtppt2_char16* path, uint32_t* count) {
  return ConvertPath(AsWide(path), kUnicode, count);
}

void* ConvertToPureText(const char* path, uint32_t* count) {
  return ConvertNarrowPath(path, kPureText, count);
}

void* ConvertToPureTextW(const txtppt2_char16* path, uint32_t* count) {
  return ConvertPath(AsWide(path), kPureText, count);
}

void* ConvertMemoryToUnicode(const void* data, uint32_t, uint32_t* count) {
  return ConvertBlock(data, kUnicode, count);
}

void* ConvertMemoryToPureText(const void* data, uint32_t, uint32_t* count) {
  return ConvertBlock(data, kPureText, count);
}

int32_t GetConversionError(char* buffer, int32_t bufferSize) {
  return ConversionErrorState::ToReport().CopyMessage(buffer, bufferSize);
}

uint32_t GetErrorCode(void) {
  return ConversionErrorState::ToReport().ReportedCode();
}

bool IsFileSupported(const char* path) {
  WCHAR wide[kPathCapacity];
  if (!WidenPath(path, wide)) return false;
  return txtppt2::IsFileSupportedW(wide);
}

bool IsFileSupportedW(const txtppt2_char16* path) {
  return txtppt2::IsFileSupportedW(AsWide(path));
}

bool IsMemDataSupported(const void* data, uint32_t size) {
  return txtppt2::IsMemDataSupported(static_cast<const BYTE*>(data), size);
}

int32_t IsFileTypeSupported(const char* type) {
  return IsSupportedTypeName(type) ? 1 : 0;
}

const char* ListSupportedTypes(int32_t* count) {
  *count = 1;
  return kTypeName;
}

const char* GetType(int32_t index) { return index == 0 ? kTypeName : nullptr; }

const char* GetTypeDescription(int32_t index) {
  return index == 0 ? kTypeDescription : nullptr;
}

const char* GetDllInfo(void) { return kDllInfo; }

int32_t GetDllVersion(void) { return kDllVersion; }

int32_t GetCompatibilityFlags(void) { return kCompatibilityFlags; }

int32_t GetOptionFlags(void) { return kOptionFlags; }

void SetOptionFlags(int32_t) {}

bool InitializeConverterTypes(void) { return true; }

}  // extern "C"

// One entry point under two names. The alias repeats what GCC knows of its
// target (MinGW's GCC infers nothrow for it and warns otherwise). Clang
// takes nothrow for an exception specification that the header's
// declaration lacks, and refuses it.
#if defined(__clang__)
extern "C" bool FreeUpConverterTypes(void)
    __attribute__((alias("InitializeConverterTypes")));
#elif defined(__GNUC__)
extern "C" bool FreeUpConverterTypes(void)
    __attribute__((alias("InitializeConverterTypes"), nothrow));
#else
extern "C" bool FreeUpConverterTypes(void) {
  return InitializeConverterTypes();
}
#endif
