/*
 * A host program in C, as a host would be written: it loads the built
 * library with dlopen, resolves all 22 exports by name, converts a file from
 * its path and from memory in both widths, checks each result block's count
 * and terminator, and frees the blocks with free().
 *
 * usage: txtppt2_host_test LIBRARY PRESENTATION
 */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "txtppt2.h"

static int failures = 0;

#define CHECK(condition)                                             \
  do {                                                               \
    if (!(condition)) {                                              \
      fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__,     \
              #condition);                                           \
      ++failures;                                                    \
    }                                                                \
  } while (0)

static const char* const kExports[] = {
    "ConvertToUnicode",      "ConvertToUnicodeW",     "ConvertToPureText",
    "ConvertToPureTextW",    "ConvertMemoryToUnicode", "ConvertMemoryToPureText",
    "GetConversionError",    "GetErrorCode",          "IsFileSupported",
    "IsFileSupportedW",      "IsMemDataSupported",    "IsFileTypeSupported",
    "ListSupportedTypes",    "GetType",               "GetTypeDescription",
    "GetDllInfo",            "GetDllVersion",         "GetCompatibilityFlags",
    "GetOptionFlags",        "SetOptionFlags",        "InitializeConverterTypes",
    "FreeUpConverterTypes",
};

typedef void* (*PathConversion)(const char*, uint32_t*);
typedef void* (*MemoryConversion)(const void*, uint32_t, uint32_t*);
typedef uint32_t (*ErrorCodeQuery)(void);
typedef int32_t (*ErrorMessageQuery)(char*, int32_t);
typedef bool (*MemoryProbe)(const void*, uint32_t);

static void* Resolve(void* library, const char* name) {
  void* symbol = dlsym(library, name);
  if (symbol == NULL) {
    fprintf(stderr, "missing export %s\n", name);
    ++failures;
  }
  return symbol;
}

static char* ReadWhole(const char* path, uint32_t* size) {
  FILE* file = fopen(path, "rb");
  if (file == NULL) return NULL;
  fseek(file, 0, SEEK_END);
  long length = ftell(file);
  fseek(file, 0, SEEK_SET);
  char* data = malloc(length > 0 ? (size_t)length : 1);
  if (data != NULL && fread(data, 1, (size_t)length, file) != (size_t)length) {
    free(data);
    data = NULL;
  }
  fclose(file);
  *size = (uint32_t)length;
  return data;
}

/* The block holds count bytes of text and a NUL of the text's width. */
static void CheckBlock(const unsigned char* block, uint32_t count,
                       size_t width) {
  CHECK(block != NULL);
  if (block == NULL) return;
  CHECK(count > 0);
  CHECK(count % width == 0);
  for (size_t i = 0; i < width; ++i) CHECK(block[count + i] == 0);
  /* The text ends with CR LF in either width. */
  CHECK(block[count - 2 * width] == '\r');
  CHECK(block[count - width] == '\n');
}

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: %s LIBRARY PRESENTATION\n", argv[0]);
    return 2;
  }
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (library == NULL) {
    fprintf(stderr, "dlopen: %s\n", dlerror());
    return 1;
  }
  for (size_t i = 0; i < sizeof kExports / sizeof kExports[0]; ++i)
    Resolve(library, kExports[i]);
  if (failures != 0) return 1;

  PathConversion toUnicode = (PathConversion)Resolve(library, "ConvertToUnicode");
  PathConversion toText = (PathConversion)Resolve(library, "ConvertToPureText");
  MemoryConversion memoryToUnicode =
      (MemoryConversion)Resolve(library, "ConvertMemoryToUnicode");
  MemoryConversion memoryToText =
      (MemoryConversion)Resolve(library, "ConvertMemoryToPureText");
  ErrorCodeQuery errorCode = (ErrorCodeQuery)Resolve(library, "GetErrorCode");
  ErrorMessageQuery errorMessage =
      (ErrorMessageQuery)Resolve(library, "GetConversionError");
  MemoryProbe probe = (MemoryProbe)Resolve(library, "IsMemDataSupported");

  uint32_t size = 0;
  char* data = ReadWhole(argv[2], &size);
  CHECK(data != NULL);
  if (data == NULL) return 1;
  CHECK(probe(data, size));

  uint32_t pathCount = 0;
  unsigned char* fromPath = toUnicode(argv[2], &pathCount);
  CheckBlock(fromPath, pathCount, 2);
  CHECK(errorCode() == 0);

  uint32_t memoryCount = size;
  unsigned char* fromMemory = memoryToUnicode(data, 0xFFFFFFFFu, &memoryCount);
  CheckBlock(fromMemory, memoryCount, 2);
  CHECK(memoryCount == pathCount);
  if (fromPath != NULL && fromMemory != NULL && memoryCount == pathCount)
    CHECK(memcmp(fromPath, fromMemory, pathCount + 2) == 0);
  free(fromPath);
  free(fromMemory);

  uint32_t textCount = 0;
  unsigned char* text = toText(argv[2], &textCount);
  CheckBlock(text, textCount, 1);
  uint32_t textMemoryCount = size;
  unsigned char* textFromMemory = memoryToText(data, 0, &textMemoryCount);
  CheckBlock(textFromMemory, textMemoryCount, 1);
  CHECK(textCount == textMemoryCount);
  free(text);
  free(textFromMemory);

  /* A failure: not a compound file. The error is readable through the
   * library, and the count keeps the input length. */
  uint32_t badCount = 3;
  CHECK(memoryToUnicode("abc", 0, &badCount) == NULL);
  CHECK(badCount == 3);
  CHECK(errorCode() == 4);
  char message[256];
  CHECK(errorMessage(message, sizeof message) == 1);
  CHECK(strcmp(message, "The file is not a storage object") == 0);

  free(data);
  dlclose(library);
  if (failures != 0) {
    fprintf(stderr, "%d checks failed\n", failures);
    return 1;
  }
  printf("host test passed\n");
  return 0;
}
