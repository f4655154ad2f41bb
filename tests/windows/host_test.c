/*
 * A Windows host program in C, as a host would be written: it loads
 * txtppt2.dll with LoadLibraryA, resolves all 22 exports with
 * GetProcAddress, reads the DLL's version resource, and converts every file
 * of the shared corpus from its narrow path, its wide path and from memory,
 * in both widths, comparing each result byte for byte with the expected
 * output. Every result block must be GMEM_FIXED global memory that
 * GlobalFree releases.
 *
 * usage: txtppt2_windows_host_test DLL [CORPUS]
 *
 * CORPUS is the folder holding ppt/ and expected/. When it is missing the
 * corpus part is skipped, or fails where CI=true.
 */
#include <stdbool.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <windows.h>

#include "txtppt2.h"

static int checks = 0;
static int failures = 0;

#define CHECK(condition) Check((condition), #condition, __FILE__, __LINE__)

static bool Check(bool ok, const char* what, const char* file, int line) {
  ++checks;
  if (!ok) {
    fprintf(stderr, "%s:%d: failed: %s\n", file, line, what);
    ++failures;
  }
  return ok;
}

/* ---- The exports, resolved by name. ---------------------------------- */

typedef void*(TXTPPT2_CALL* PathConversion)(const char*, uint32_t*);
typedef void*(TXTPPT2_CALL* WidePathConversion)(const wchar_t*, uint32_t*);
typedef void*(TXTPPT2_CALL* MemoryConversion)(const void*, uint32_t, uint32_t*);
typedef int32_t(TXTPPT2_CALL* ErrorMessageQuery)(char*, int32_t);
typedef uint32_t(TXTPPT2_CALL* ErrorCodeQuery)(void);
typedef bool(TXTPPT2_CALL* PathProbe)(const char*);
typedef bool(TXTPPT2_CALL* WidePathProbe)(const wchar_t*);
typedef bool(TXTPPT2_CALL* MemoryProbe)(const void*, uint32_t);
typedef const char*(TXTPPT2_CALL* InfoQuery)(void);
typedef bool(TXTPPT2_CALL* TypesCall)(void);

static const char* const kExports[22] = {
    "ConvertToUnicode",
    "ConvertToUnicodeW",
    "ConvertToPureText",
    "ConvertToPureTextW",
    "ConvertMemoryToUnicode",
    "ConvertMemoryToPureText",
    "GetConversionError",
    "GetErrorCode",
    "IsFileSupported",
    "IsFileSupportedW",
    "IsMemDataSupported",
    "IsFileTypeSupported",
    "ListSupportedTypes",
    "GetType",
    "GetTypeDescription",
    "GetDllInfo",
    "GetDllVersion",
    "GetCompatibilityFlags",
    "GetOptionFlags",
    "SetOptionFlags",
    "InitializeConverterTypes",
    "FreeUpConverterTypes",
};

static struct {
  PathConversion toUnicode, toText;
  WidePathConversion toUnicodeW, toTextW;
  MemoryConversion memoryToUnicode, memoryToText;
  ErrorMessageQuery errorMessage;
  ErrorCodeQuery errorCode;
  PathProbe fileSupported;
  WidePathProbe fileSupportedW;
  MemoryProbe memSupported;
} api;

/* Any function, as GetProcAddress finds it: void (*)(void) is the type C
 * compilers accept casts to and from without a warning. */
typedef void (*AnyFunction)(void);

static AnyFunction Resolve(HMODULE module, const char* name) {
  AnyFunction symbol = (AnyFunction)GetProcAddress(module, name);
  if (symbol == NULL) {
    fprintf(stderr, "missing export %s\n", name);
    ++failures;
  }
  return symbol;
}

static bool ResolveAll(HMODULE module) {
  for (size_t i = 0; i < sizeof kExports / sizeof kExports[0]; ++i)
    Resolve(module, kExports[i]);
  if (failures != 0) return false;
  /* One entry point under two names. */
  CHECK(Resolve(module, "FreeUpConverterTypes") ==
        Resolve(module, "InitializeConverterTypes"));
  CHECK(((TypesCall)Resolve(module, "FreeUpConverterTypes"))());
  CHECK(strcmp(((InfoQuery)Resolve(module, "GetDllInfo"))(),
               "Tessellane Library v.040920") == 0);
  api.toUnicode = (PathConversion)Resolve(module, "ConvertToUnicode");
  api.toText = (PathConversion)Resolve(module, "ConvertToPureText");
  api.toUnicodeW = (WidePathConversion)Resolve(module, "ConvertToUnicodeW");
  api.toTextW = (WidePathConversion)Resolve(module, "ConvertToPureTextW");
  api.memoryToUnicode =
      (MemoryConversion)Resolve(module, "ConvertMemoryToUnicode");
  api.memoryToText =
      (MemoryConversion)Resolve(module, "ConvertMemoryToPureText");
  api.errorMessage = (ErrorMessageQuery)Resolve(module, "GetConversionError");
  api.errorCode = (ErrorCodeQuery)Resolve(module, "GetErrorCode");
  api.fileSupported = (PathProbe)Resolve(module, "IsFileSupported");
  api.fileSupportedW = (WidePathProbe)Resolve(module, "IsFileSupportedW");
  api.memSupported = (MemoryProbe)Resolve(module, "IsMemDataSupported");
  return true;
}

/* ---- The version resource. --------------------------------------------- */

static void CheckVersionString(const void* info, const char* key,
                               const char* expected) {
  char query[128];
  snprintf(query, sizeof query, "\\StringFileInfo\\040904B0\\%s", key);
  char* value = NULL;
  UINT length = 0;
  if (!CHECK(VerQueryValueA(info, query, (void**)&value, &length))) return;
  if (strcmp(value, expected) != 0) {
    fprintf(stderr, "version resource: %s is \"%s\", not \"%s\"\n", key, value,
            expected);
    ++failures;
  }
}

static void CheckVersionResource(HMODULE module) {
  wchar_t path[MAX_PATH];
  CHECK(GetModuleFileNameW(module, path, MAX_PATH) > 0);
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(path, &handle);
  if (!CHECK(size > 0)) return;
  void* info = malloc(size);
  if (CHECK(GetFileVersionInfoW(path, 0, size, info))) {
    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    if (CHECK(VerQueryValueW(info, L"\\", (void**)&fixed, &length))) {
      CHECK(fixed->dwSignature == 0xFEEF04BD);
      CHECK(fixed->dwFileVersionMS == MAKELONG(0, 2));   /* 2.0 */
      CHECK(fixed->dwFileVersionLS == MAKELONG(420, 4)); /* .4.420 */
      CHECK(fixed->dwProductVersionMS == MAKELONG(0, 2));
      CHECK(fixed->dwProductVersionLS == 0);
      CHECK(fixed->dwFileType == VFT_DLL);
    }
    CheckVersionString(info, "FileVersion", "2.0.4.420");
    CheckVersionString(info, "ProductVersion", "2.0.0.0");
    CheckVersionString(info, "OriginalFilename", "txtppt2.dll");
    CheckVersionString(info, "InternalName", "txtppt2");
  }
  free(info);
}

/* ---- Files. ------------------------------------------------------------ */

typedef struct {
  char* bytes;
  uint32_t size;
} Bytes;

static bool ReadWhole(const char* path, Bytes* out) {
  out->bytes = NULL;
  out->size = 0;
  FILE* file = fopen(path, "rb");
  if (file == NULL) return false;
  fseek(file, 0, SEEK_END);
  long length = ftell(file);
  fseek(file, 0, SEEK_SET);
  out->bytes = malloc(length > 0 ? (size_t)length : 1);
  out->size = (uint32_t)length;
  bool ok = out->bytes != NULL &&
            fread(out->bytes, 1, (size_t)length, file) == (size_t)length;
  fclose(file);
  if (!ok) {
    free(out->bytes);
    out->bytes = NULL;
  }
  return ok;
}

static bool WriteWhole(const char* path, const char* bytes, size_t size) {
  FILE* file = fopen(path, "wb");
  if (file == NULL) return false;
  bool ok = fwrite(bytes, 1, size, file) == size;
  return fclose(file) == 0 && ok;
}

/* Paths are given as the build wrote them; Windows writes backslashes. */
static void Backslashes(char* path) {
  for (; *path != '\0'; ++path)
    if (*path == '/') *path = '\\';
}

static wchar_t* Widen(const char* ansi) {
  int n = MultiByteToWideChar(CP_ACP, 0, ansi, -1, NULL, 0);
  wchar_t* wide = malloc(sizeof(wchar_t) * (size_t)n);
  MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide, n);
  return wide;
}

/* ---- Result blocks. ---------------------------------------------------- */

typedef struct {
  bool ok;
  uint32_t count;
  uint32_t code;
  char message[1024];
  bool blockSound; /* fixed global memory, terminated, released */
  char* bytes;     /* a copy of the text, when ok */
} Result;

/* Takes over a result block: checks that it is GMEM_FIXED global memory
 * holding count bytes and a NUL of the text's width, copies the text and
 * frees the block with GlobalFree, as a host does. */
static Result Take(void* block, uint32_t count, size_t width) {
  Result result;
  memset(&result, 0, sizeof result);
  result.ok = block != NULL;
  result.count = count;
  result.code = api.errorCode();
  api.errorMessage(result.message, sizeof result.message);
  result.blockSound = true;
  if (block == NULL) return result;
  const unsigned char* text = block;
  result.blockSound = GlobalHandle(block) == (HGLOBAL)block &&
                      GlobalSize(block) >= (SIZE_T)count + width &&
                      count % width == 0 &&
                      memcmp(text + count, "\0\0", width) == 0;
  result.bytes = malloc(count + 1);
  memcpy(result.bytes, text, count);
  if (GlobalFree(block) != NULL) result.blockSound = false;
  return result;
}

/* ---- Where Wine's ole32 is known to differ. ---------------------------- */

/* Wine's ntdll exports wine_get_version; Windows' does not. */
static bool RunningUnderWine(void) {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != NULL && GetProcAddress(ntdll, "wine_get_version") != NULL;
}

/* Corpus files that Wine's structured storage opens otherwise than our
 * reader (and the expected output) do. Under Wine each must fail exactly as
 * described, so that the list stays true; elsewhere they are compared as
 * any other file. */
static const struct {
  const char* name;
  const char* why;
} kWineDifferences[] = {
    {"clusterfuzz-testcase-minimized-POIHSLFFuzzer-6614960949821440.ppt",
     "its header's mini stream cutoff is 0x13001000, not 4096: Wine's ole32 "
     "refuses the header (STG_E_INVALIDHEADER, which StgOpenStorage reports "
     "as STG_E_FILEALREADYEXISTS), so every conversion fails with code 4 "
     "and the probes answer false"},
};

static const char* WineDifference(const char* name) {
  for (size_t i = 0; i < sizeof kWineDifferences / sizeof kWineDifferences[0];
       ++i)
    if (strcmp(kWineDifferences[i].name, name) == 0)
      return kWineDifferences[i].why;
  return NULL;
}

static bool underWine = false;

/* ---- The corpus. ------------------------------------------------------- */

typedef struct {
  char name[MAX_PATH];
  Bytes utf16, ansi;
  bool hasText;
  uint32_t errorCode; /* when !hasText */
} Expected;

static int differingFiles = 0;
static int knownDifferences = 0;

static void Differ(const char* name, const char* call, const char* what) {
  fprintf(stderr, "DIFF %s %s: %s\n", name, call, what);
}

/* Compares one result with the file's expectation; returns whether equal. */
static bool Compare(const Expected* expected, const char* call, bool unicode,
                    const Result* result) {
  char what[1400];
  if (!result->blockSound) {
    Differ(expected->name, call, "the result block is not sound");
    return false;
  }
  if (!expected->hasText) {
    if (result->ok || result->code != expected->errorCode) {
      snprintf(what, sizeof what, "expected error %u, got %s, code %u (%s)",
               expected->errorCode, result->ok ? "text" : "no text",
               result->code, result->message);
      Differ(expected->name, call, what);
      return false;
    }
    return true;
  }
  const Bytes* text = unicode ? &expected->utf16 : &expected->ansi;
  if (!result->ok) {
    snprintf(what, sizeof what, "no text: code %u (%s)", result->code,
             result->message);
    Differ(expected->name, call, what);
    return false;
  }
  if (result->count != text->size ||
      memcmp(result->bytes, text->bytes, text->size) != 0) {
    uint32_t at = 0;
    while (at < result->count && at < text->size &&
           result->bytes[at] == text->bytes[at])
      ++at;
    snprintf(what, sizeof what,
             "text differs: %u bytes, expected %u, first difference at %u",
             result->count, text->size, at);
    Differ(expected->name, call, what);
    return false;
  }
  if (result->code != 0 || result->message[0] != '\0') {
    Differ(expected->name, call, "an error is reported after success");
    return false;
  }
  return true;
}

static void FreeResult(Result* result) { free(result->bytes); }

/* Compares one conversion's block and count with the expected result, and
 * releases the block. */
static bool CheckCall(const Expected* expected, const char* call, bool unicode,
                      void* block, uint32_t count) {
  Result r = Take(block, count, unicode ? 2 : 1);
  bool same = Compare(expected, call, unicode, &r);
  FreeResult(&r);
  return same;
}

/* Converts one file the six ways and probes it three ways. */
static bool ConvertEveryWay(const Expected* expected, const char* path,
                            const wchar_t* widePath, const Bytes* data) {
  bool same = true;
  uint32_t count;
  void* block;

  count = 0;
  block = api.toUnicode(path, &count);
  same &= CheckCall(expected, "ConvertToUnicode", true, block, count);
  count = 0;
  block = api.toUnicodeW(widePath, &count);
  same &= CheckCall(expected, "ConvertToUnicodeW", true, block, count);
  count = data->size;
  block = api.memoryToUnicode(data->bytes, 0, &count);
  same &= CheckCall(expected, "ConvertMemoryToUnicode", true, block, count);
  count = 0;
  block = api.toText(path, &count);
  same &= CheckCall(expected, "ConvertToPureText", false, block, count);
  count = 0;
  block = api.toTextW(widePath, &count);
  same &= CheckCall(expected, "ConvertToPureTextW", false, block, count);
  count = data->size;
  block = api.memoryToText(data->bytes, 0xFFFFFFFFu, &count);
  same &= CheckCall(expected, "ConvertMemoryToPureText", false, block, count);

  bool supported = expected->hasText;
  if (api.fileSupported(path) != supported) {
    Differ(expected->name, "IsFileSupported", "wrong answer");
    same = false;
  }
  if (api.fileSupportedW(widePath) != supported) {
    Differ(expected->name, "IsFileSupportedW", "wrong answer");
    same = false;
  }
  if (api.memSupported(data->bytes, data->size) != supported) {
    Differ(expected->name, "IsMemDataSupported", "wrong answer");
    same = false;
  }
  return same;
}

static bool LoadExpected(const char* corpus, const char* name,
                         Expected* expected) {
  char path[MAX_PATH * 2];
  memset(expected, 0, sizeof *expected);
  snprintf(expected->name, sizeof expected->name, "%s", name);
  snprintf(path, sizeof path, "%s\\expected\\%s.utf16le", corpus, name);
  bool utf16 = ReadWhole(path, &expected->utf16);
  snprintf(path, sizeof path, "%s\\expected\\%s.cp1252", corpus, name);
  bool ansi = ReadWhole(path, &expected->ansi);
  if (utf16 && ansi) {
    expected->hasText = true;
    return true;
  }
  snprintf(path, sizeof path, "%s\\expected\\%s.error", corpus, name);
  Bytes error;
  if (!ReadWhole(path, &error)) return false;
  char digits[16] = {0};
  memcpy(digits, error.bytes, error.size < 15 ? error.size : 15);
  expected->errorCode = (uint32_t)strtoul(digits, NULL, 10);
  free(error.bytes);
  return true;
}

static void FreeExpected(Expected* expected) {
  free(expected->utf16.bytes);
  free(expected->ansi.bytes);
}

static int CompareNames(const void* a, const void* b) {
  return strcmp((const char*)a, (const char*)b);
}

/* Every file of CORPUS\ppt; returns the number of files. */
static int RunCorpus(const char* corpus) {
  char pattern[MAX_PATH * 2];
  snprintf(pattern, sizeof pattern, "%s\\ppt\\*", corpus);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  if (!CHECK(search != INVALID_HANDLE_VALUE)) return 0;
  size_t capacity = 256, n = 0;
  char(*names)[MAX_PATH] = malloc(capacity * MAX_PATH);
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (n == capacity) {
      capacity *= 2;
      names = realloc(names, capacity * MAX_PATH);
    }
    snprintf(names[n++], MAX_PATH, "%s", found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  qsort(names, n, MAX_PATH, CompareNames);

  for (size_t i = 0; i < n; ++i) {
    Expected expected;
    ++checks;
    if (!LoadExpected(corpus, names[i], &expected)) {
      fprintf(stderr, "no expected output for %s\n", names[i]);
      ++failures;
      continue;
    }
    char path[MAX_PATH * 2];
    snprintf(path, sizeof path, "%s\\ppt\\%s", corpus, names[i]);
    wchar_t* widePath = Widen(path);
    Bytes data;
    const char* why = underWine ? WineDifference(names[i]) : NULL;
    if (why != NULL) {
      printf("known difference under Wine: %s: %s\n", names[i], why);
      ++knownDifferences;
      FreeExpected(&expected);
      memset(&expected, 0, sizeof expected);
      snprintf(expected.name, sizeof expected.name, "%s", names[i]);
      expected.errorCode = 4;
    }
    if (CHECK(ReadWhole(path, &data))) {
      if (!ConvertEveryWay(&expected, path, widePath, &data)) {
        ++differingFiles;
        ++failures;
      }
      free(data.bytes);
    }
    free(widePath);
    FreeExpected(&expected);
  }
  free(names);
  return (int)n;
}

/* ---- Paths in the ANSI code page and beyond it. ------------------------ */

/* A corpus file copied under names that only the ANSI code page (narrow)
 * or only UTF-16 (wide) can spell converts as under its own name. */
static void RunNonAsciiPaths(const char* corpus, const char* folder) {
  const char* name = "SampleShow.ppt";
  Expected expected;
  if (!CHECK(LoadExpected(corpus, name, &expected))) return;
  char source[MAX_PATH * 2];
  snprintf(source, sizeof source, "%s\\ppt\\%s", corpus, name);
  Bytes data;
  if (!CHECK(ReadWhole(source, &data))) return;

  /* "Präsentation, café.ppt" in Windows-1252. */
  char narrow[MAX_PATH * 2];
  snprintf(narrow, sizeof narrow, "%s\\Pr\xE4sentation, caf\xE9.ppt", folder);
  CHECK(CopyFileA(source, narrow, FALSE));
  wchar_t* wideOfNarrow = Widen(narrow);
  if (!ConvertEveryWay(&expected, narrow, wideOfNarrow, &data)) ++failures;
  free(wideOfNarrow);
  DeleteFileA(narrow);

  /* Cyrillic and Japanese: no narrow spelling in Windows-1252. */
  wchar_t* wideFolder = Widen(folder);
  wchar_t wide[MAX_PATH * 2];
  swprintf(wide, MAX_PATH * 2,
           L"%ls\\\x043F\x0440\x0438\x043C\x0435\x0440 \x65E5\x672C.ppt",
           wideFolder);
  wchar_t* wideSource = Widen(source);
  CHECK(CopyFileW(wideSource, wide, FALSE));
  uint32_t count = 0;
  void* block = api.toUnicodeW(wide, &count);
  Result r = Take(block, count, 2);
  CHECK(Compare(&expected, "ConvertToUnicodeW (wide-only name)", true, &r));
  FreeResult(&r);
  block = api.toTextW(wide, &count);
  r = Take(block, count, 1);
  CHECK(Compare(&expected, "ConvertToPureTextW (wide-only name)", false, &r));
  FreeResult(&r);
  CHECK(api.fileSupportedW(wide));
  DeleteFileW(wide);
  free(wideSource);
  free(wideFolder);
  free(data.bytes);
  FreeExpected(&expected);
}

/* ---- Failures, as Windows' structured storage reports them. ------------ */

static void ExpectPathFailure(const char* path, uint32_t code,
                              const char* message) {
  uint32_t count = 77;
  void* block = api.toUnicode(path, &count);
  Result r = Take(block, count, 2);
  if (!CHECK(!r.ok && r.code == code && strcmp(r.message, message) == 0 &&
             count == 77))
    fprintf(stderr, "  %s: code %u, \"%s\"\n", path, r.code, r.message);
  FreeResult(&r);
  CHECK(!api.fileSupported(path));
}

static void RunFailures(const char* folder) {
  char path[MAX_PATH * 2];
  snprintf(path, sizeof path, "%s\\missing.ppt", folder);
  ExpectPathFailure(path, 4,
                    "The stream with the name specified does not exist");
  snprintf(path, sizeof path, "%s\\no such folder\\x.ppt", folder);
  ExpectPathFailure(path, 4, "The path specified does not exist");
  ExpectPathFailure(folder, 4,
                    "Access denied because the caller has insufficient "
                    "permission, or another caller has the file open and "
                    "locked");
  snprintf(path, sizeof path, "%s\\empty.ppt", folder);
  CHECK(WriteWhole(path, "", 0));
  ExpectPathFailure(path, 4, "The file is not a storage object");
  DeleteFileA(path);
  snprintf(path, sizeof path, "%s\\text.ppt", folder);
  char text[600];
  memset(text, 'x', sizeof text);
  CHECK(WriteWhole(path, text, sizeof text));
  ExpectPathFailure(path, 4, "The file is not a storage object");
  DeleteFileA(path);

  /* Not a compound file in memory: the count keeps the input length. Wine's
   * StgOpenStorageOnILockBytes answers such a block otherwise than
   * Windows, which is documented to answer STG_E_FILEALREADYEXISTS: with
   * STG_E_FILENOTFOUND when it holds less than a header (512 bytes), with
   * STG_E_INVALIDHEADER (an unknown error to the converter) when the
   * signature is wrong. */
  static char notStorage[600];
  memset(notStorage, 'x', sizeof notStorage);
  const struct {
    uint32_t size;
    const char* message;
    const char* messageUnderWine;
  } blocks[] = {
      {3, "The file is not a storage object",
       "The stream with the name specified does not exist"},
      {600, "The file is not a storage object",
       "Can't open storage: unknown error"},
  };
  for (size_t i = 0; i < sizeof blocks / sizeof blocks[0]; ++i) {
    uint32_t count = blocks[i].size;
    void* block = api.memoryToUnicode(notStorage, 0, &count);
    Result r = Take(block, count, 2);
    const char* expected =
        underWine ? blocks[i].messageUnderWine : blocks[i].message;
    if (!CHECK(!r.ok && r.code == 4 && count == blocks[i].size &&
               strcmp(r.message, expected) == 0))
      fprintf(stderr, "  %u bytes: code %u, \"%s\"\n", blocks[i].size, r.code,
              r.message);
    FreeResult(&r);
    CHECK(!api.memSupported(notStorage, blocks[i].size));
  }
}

/* ---- The error record is per thread. ----------------------------------- */

static DWORD WINAPI FailOnThisThread(LPVOID parameter) {
  uint32_t* code = parameter;
  uint32_t count = 3;
  api.memoryToText("abc", 0, &count);
  *code = api.errorCode();
  return 0;
}

static void RunThreads(const char* folder) {
  char path[MAX_PATH * 2];
  snprintf(path, sizeof path, "%s\\missing.ppt", folder);
  uint32_t count = 0;
  api.toText(path, &count);
  uint32_t other = 0;
  HANDLE thread = CreateThread(NULL, 0, FailOnThisThread, &other, 0, NULL);
  if (!CHECK(thread != NULL)) return;
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  CHECK(other == 4);
  char message[256];
  api.errorMessage(message, sizeof message);
  CHECK(strcmp(message, "The stream with the name specified does not exist") ==
        0);
}

/* The exit status of a run whose checks passed but that had no corpus. */
enum { kSkipped = 77 };

int main(int argc, char** argv) {
  bool corpusSkipped = false;
  if (argc < 2 || argc > 3) {
    fprintf(stderr, "usage: %s DLL [CORPUS]\n", argv[0]);
    return 2;
  }
  char dll[MAX_PATH * 2];
  snprintf(dll, sizeof dll, "%s", argv[1]);
  Backslashes(dll);
  HMODULE module = LoadLibraryA(dll);
  if (module == NULL) {
    fprintf(stderr, "LoadLibraryA(%s) failed: error %lu\n", dll,
            GetLastError());
    return 1;
  }
  if (!ResolveAll(module)) return 1;
  CheckVersionResource(module);
  underWine = RunningUnderWine();
  if (underWine) printf("running under Wine\n");
  if (GetACP() != 1252)
    printf(
        "note: the ANSI code page is %u; the expected pure text is "
        "Windows-1252\n",
        GetACP());

  char folder[MAX_PATH];
  DWORD n = GetTempPathA(MAX_PATH, folder);
  /* Wine reuses process ids: the tick count keeps runs apart. */
  snprintf(folder + n, MAX_PATH - n, "txtppt2-host-%lu-%llu",
           GetCurrentProcessId(), (unsigned long long)GetTickCount64());
  CHECK(CreateDirectoryA(folder, NULL));
  RunFailures(folder);
  RunThreads(folder);

  char corpus[MAX_PATH * 2] = "";
  if (argc == 3) snprintf(corpus, sizeof corpus, "%s", argv[2]);
  Backslashes(corpus);
  char probe[MAX_PATH * 2 + 8];
  snprintf(probe, sizeof probe, "%s\\ppt", corpus);
  DWORD attributes =
      corpus[0] ? GetFileAttributesA(probe) : INVALID_FILE_ATTRIBUTES;
  if (attributes == INVALID_FILE_ATTRIBUTES ||
      !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    const char* ci = getenv("CI");
    if (ci != NULL && strcmp(ci, "true") == 0) {
      fprintf(stderr, "the shared corpus (%s) is missing in CI\n", probe);
      ++failures;
    } else {
      printf("the shared corpus (%s) is not here; skipping the corpus\n",
             probe);
      corpusSkipped = true;
    }
  } else {
    int files = RunCorpus(corpus);
    printf("corpus: %d of %d files give the expected output every way",
           files - differingFiles - knownDifferences, files);
    if (knownDifferences != 0)
      printf("; %d differ%s as Wine's ole32 is known to", knownDifferences,
             knownDifferences == 1 ? "s" : "");
    printf("\n");
    RunNonAsciiPaths(corpus, folder);
  }
  RemoveDirectoryA(folder);

  FreeLibrary(module);
  if (failures != 0) {
    fprintf(stderr, "%d of %d checks failed\n", failures, checks);
    return 1;
  }
  printf("host test passed: %d checks\n", checks);
  /* CTest reports this exit status as a skipped test. */
  return corpusSkipped ? kSkipped : 0;
}
