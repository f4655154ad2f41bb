/*
 * A host program in C, written as hosts are: it loads the built library by
 * path, resolves the 22 exports by name and calls them. It converts every
 * file of the shared corpus the six ways and probes it the three ways,
 * comparing with the expected output; converts a copy under names beyond
 * ASCII; reads the error record after failures with buffers of every size;
 * and (on POSIX) fails a new thread's first call for want of memory.
 *
 * usage: host_test LIBRARY [CORPUS]
 *
 * CORPUS holds ppt/ and expected/. When it is missing the corpus part is
 * skipped (exit status 77), or fails where CI=true.
 */
#include <limits.h>
#include <stdbool.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "txtppt2.h"

/* ---- The platform: loading, files, result blocks, threads. ------------ */
#ifdef _WIN32
#include <windows.h>
#define SEP "\\"
#define SEP_CHAR '\\'
typedef HMODULE Library;
static Library Load(const char* path) { return LoadLibraryA(path); }
static void* Symbol(Library library, const char* name) {
  return (void*)GetProcAddress(library, name);
}
/* A result block is GMEM_FIXED global memory that GlobalFree releases. */
static bool FreeBlock(void* block, uint32_t count, size_t width) {
  bool sound = GlobalHandle(block) == (HGLOBAL)block &&
               GlobalSize(block) >= (SIZE_T)count + width;
  return GlobalFree(block) == NULL && sound;
}
/* The name in the ANSI code page, or NULL when it has no spelling there. */
static char* Narrow(const txtppt2_char16* wide) {
  BOOL lossy = FALSE;
  int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, NULL, 0, NULL, &lossy);
  char* narrow = lossy ? NULL : malloc((size_t)n);
  if (narrow) WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, n, NULL, NULL);
  return narrow;
}
static FILE* OpenWide(const txtppt2_char16* path) {
  return _wfopen(path, L"wb");
}
static bool MakeFolder(char* folder, size_t size) {
  DWORD n = GetTempPathA((DWORD)size, folder);
  snprintf(folder + n, size - n, "txtppt2-host-%lu-%llu", GetCurrentProcessId(),
           (unsigned long long)GetTickCount64());
  return CreateDirectoryA(folder, NULL);
}
static void RemoveFile(const char* path) { DeleteFileA(path); }
static void RemoveWide(const txtppt2_char16* path) { DeleteFileW(path); }
static void RemoveFolder(const char* folder) { RemoveDirectoryA(folder); }
typedef struct {
  HANDLE search;
  WIN32_FIND_DATAA found;
  bool first;
} Listing;
static bool OpenListing(Listing* listing, const char* folder) {
  char pattern[MAX_PATH * 2];
  snprintf(pattern, sizeof pattern, "%s\\*.ppt", folder);
  listing->search = FindFirstFileA(pattern, &listing->found);
  listing->first = true;
  return listing->search != INVALID_HANDLE_VALUE;
}
static const char* NextName(Listing* listing) {
  if (!listing->first && !FindNextFileA(listing->search, &listing->found)) {
    FindClose(listing->search);
    return NULL;
  }
  listing->first = false;
  return listing->found.cFileName;
}
static DWORD WINAPI ThreadMain(LPVOID body) {
  ((void (*)(void))body)();
  return 0;
}
static void RunOnNewThread(void (*body)(void)) {
  HANDLE thread = CreateThread(NULL, 0, ThreadMain, (LPVOID)body, 0, NULL);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
}
/* Wine's ntdll exports wine_get_version; Windows' does not. */
static bool UnderWine(void) {
  return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version");
}
#else
#include <dirent.h>
#include <dlfcn.h>
#include <pthread.h>
#include <unistd.h>
#define SEP "/"
#define SEP_CHAR '/'
typedef void* Library;
static Library Load(const char* path) { return dlopen(path, RTLD_NOW); }
static void* Symbol(Library library, const char* name) {
  return dlsym(library, name);
}
static bool FreeBlock(void* block, uint32_t count, size_t width) {
  (void)count, (void)width;
  free(block);
  return true;
}
/* Paths are UTF-8 (the names here are in the Basic Multilingual Plane). */
static char* Narrow(const txtppt2_char16* wide) {
  char* narrow = malloc(1024);
  size_t n = 0;
  for (; *wide != 0; ++wide) {
    unsigned c = *wide;
    if (c < 0x80) {
      narrow[n++] = (char)c;
    } else if (c < 0x800) {
      narrow[n++] = (char)(0xC0 | c >> 6);
      narrow[n++] = (char)(0x80 | (c & 0x3F));
    } else {
      narrow[n++] = (char)(0xE0 | c >> 12);
      narrow[n++] = (char)(0x80 | (c >> 6 & 0x3F));
      narrow[n++] = (char)(0x80 | (c & 0x3F));
    }
  }
  narrow[n] = '\0';
  return narrow;
}
static FILE* OpenWide(const txtppt2_char16* path) {
  char* narrow = Narrow(path);
  FILE* file = fopen(narrow, "wb");
  free(narrow);
  return file;
}
static bool MakeFolder(char* folder, size_t size) {
  snprintf(folder, size, "/tmp/txtppt2-host-XXXXXX");
  return mkdtemp(folder) != NULL;
}
static void RemoveFile(const char* path) { unlink(path); }
static void RemoveWide(const txtppt2_char16* path) {
  char* narrow = Narrow(path);
  unlink(narrow);
  free(narrow);
}
static void RemoveFolder(const char* folder) { rmdir(folder); }
typedef struct {
  DIR* dir;
} Listing;
static bool OpenListing(Listing* listing, const char* folder) {
  listing->dir = opendir(folder);
  return listing->dir != NULL;
}
static const char* NextName(Listing* listing) {
  for (struct dirent* entry; (entry = readdir(listing->dir)) != NULL;)
    if (entry->d_name[0] != '.') return entry->d_name;
  closedir(listing->dir);
  return NULL;
}
static void* ThreadMain(void* body) {
  ((void (*)(void))body)();
  return NULL;
}
static void RunOnNewThread(void (*body)(void)) {
  pthread_t thread;
  if (pthread_create(&thread, NULL, ThreadMain, (void*)body) == 0)
    pthread_join(thread, NULL);
}
static bool UnderWine(void) { return false; }

/* Allocation fails on a thread while it sets this (not under the
 * sanitizers, which bring their own allocator). */
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#define TXTPPT2_FAILING_MALLOC 1
static _Thread_local bool failAllocations;
extern void* __libc_malloc(size_t size);
__attribute__((visibility("default"))) void* malloc(size_t size) {
  return failAllocations ? NULL : __libc_malloc(size);
}
#endif
#endif

/* ---- Checks and the exports. ------------------------------------------ */
static int checks, failures;
#define CHECK(ok) Check((ok), #ok, __LINE__)
static bool Check(bool ok, const char* what, int line) {
  ++checks;
  if (!ok)
    fprintf(stderr, "host_test.c:%d: failed: %s\n", line, what), ++failures;
  return ok;
}

static struct {
  void*(TXTPPT2_CALL* toUnicode)(const char*, uint32_t*);
  void*(TXTPPT2_CALL* toUnicodeW)(const txtppt2_char16*, uint32_t*);
  void*(TXTPPT2_CALL* toText)(const char*, uint32_t*);
  void*(TXTPPT2_CALL* toTextW)(const txtppt2_char16*, uint32_t*);
  void*(TXTPPT2_CALL* memoryToUnicode)(const void*, uint32_t, uint32_t*);
  void*(TXTPPT2_CALL* memoryToText)(const void*, uint32_t, uint32_t*);
  int32_t(TXTPPT2_CALL* errorMessage)(char*, int32_t);
  uint32_t(TXTPPT2_CALL* errorCode)(void);
  bool(TXTPPT2_CALL* fileSupported)(const char*);
  bool(TXTPPT2_CALL* fileSupportedW)(const txtppt2_char16*);
  bool(TXTPPT2_CALL* memSupported)(const void*, uint32_t);
} api;

static const char* const kExports[22] = {"ConvertToUnicode",
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
                                         "FreeUpConverterTypes"};

static bool ResolveAll(Library library) {
  void** slots = (void**)&api;
  for (int i = 0; i < 22; ++i) {
    void* symbol = Symbol(library, kExports[i]);
    if (!symbol)
      fprintf(stderr, "missing export %s\n", kExports[i]), ++failures;
    if (i < 11) slots[i] = symbol; /* api lists the first eleven in order */
  }
  return failures == 0;
}

/* ---- Files and expectations. ------------------------------------------ */
typedef struct {
  char* bytes;
  uint32_t size;
} Bytes;

static bool ReadWhole(const char* path, Bytes* out) {
  FILE* file = fopen(path, "rb");
  out->bytes = NULL;
  if (file == NULL) return false;
  fseek(file, 0, SEEK_END);
  out->size = (uint32_t)ftell(file);
  fseek(file, 0, SEEK_SET);
  out->bytes = malloc(out->size + 1u);
  bool ok = out->bytes && fread(out->bytes, 1, out->size, file) == out->size;
  fclose(file);
  return ok;
}

/* A file's expected texts, or (when utf16.bytes is NULL) its error code. */
typedef struct {
  Bytes utf16, ansi;
  uint32_t errorCode;
} Expected;

static bool LoadExpected(const char* corpus, const char* name, Expected* e) {
  char path[1024];
  Bytes error;
  memset(e, 0, sizeof *e);
  snprintf(path, sizeof path, "%s" SEP "expected" SEP "%s.utf16le", corpus,
           name);
  if (ReadWhole(path, &e->utf16)) {
    snprintf(path, sizeof path, "%s" SEP "expected" SEP "%s.cp1252", corpus,
             name);
    return ReadWhole(path, &e->ansi);
  }
  snprintf(path, sizeof path, "%s" SEP "expected" SEP "%s.error", corpus, name);
  if (!ReadWhole(path, &error)) return false;
  error.bytes[error.size] = '\0';
  e->errorCode = (uint32_t)strtoul(error.bytes, NULL, 10);
  free(error.bytes);
  return true;
}

/* Takes one conversion's block: the expected text, its terminator, no error
 * afterwards; or the expected failure. */
static bool Matches(const Expected* e, bool unicode, void* block,
                    const uint32_t* counted) {
  uint32_t count = *counted;
  const Bytes* text = unicode ? &e->utf16 : &e->ansi;
  size_t width = unicode ? 2 : 1;
  uint32_t code = api.errorCode();
  char message[64];
  if (block == NULL) return text->bytes == NULL && code == e->errorCode;
  bool same = text->bytes != NULL && count == text->size &&
              memcmp(block, text->bytes, count) == 0 &&
              memcmp((char*)block + count, "\0\0", width) == 0 && code == 0 &&
              api.errorMessage(message, sizeof message) == 0 && !message[0];
  return FreeBlock(block, count, width) && same;
}

/* The six conversions and the three probes of one file, each named when it
 * differs; narrow is NULL for a name the narrow calls cannot spell. */
static bool ConvertEveryWay(const char* name, const Expected* e,
                            const char* narrow, const txtppt2_char16* wide,
                            const Bytes* data) {
  uint32_t n[6] = {0, 0, data->size, 0, 0, data->size};
  bool ok[9] = {
      !narrow || Matches(e, true, api.toUnicode(narrow, &n[0]), &n[0]),
      Matches(e, true, api.toUnicodeW(wide, &n[1]), &n[1]),
      Matches(e, true, api.memoryToUnicode(data->bytes, 0, &n[2]), &n[2]),
      !narrow || Matches(e, false, api.toText(narrow, &n[3]), &n[3]),
      Matches(e, false, api.toTextW(wide, &n[4]), &n[4]),
      Matches(e, false, api.memoryToText(data->bytes, ~0u, &n[5]), &n[5]),
      !narrow || api.fileSupported(narrow) == (e->utf16.bytes != NULL),
      api.fileSupportedW(wide) == (e->utf16.bytes != NULL),
      api.memSupported(data->bytes, data->size) == (e->utf16.bytes != NULL)};
  static const char* const kCalls[9] = {
      "ConvertToUnicode",  "ConvertToUnicodeW",  "ConvertMemoryToUnicode",
      "ConvertToPureText", "ConvertToPureTextW", "ConvertMemoryToPureText",
      "IsFileSupported",   "IsFileSupportedW",   "IsMemDataSupported"};
  bool all = true;
  for (int i = 0; i < 9; ++i) {
    if (!ok[i]) fprintf(stderr, "DIFF %s: %s\n", name, kCalls[i]);
    all &= Check(ok[i], "the expected result", __LINE__);
  }
  return all;
}

/* Corpus files that Wine's structured storage refuses, with why. */
static const char* const kRefusedByWine[] = {
    /* a mini stream cutoff of 0x13001000: STG_E_INVALIDHEADER */
    "clusterfuzz-testcase-minimized-POIHSLFFuzzer-6614960949821440.ppt"};

static txtppt2_char16* Widen(const char* ascii, const txtppt2_char16* tail) {
  size_t a = strlen(ascii), t = 0;
  while (tail && tail[t]) ++t;
  txtppt2_char16* wide = calloc(a + t + 1, sizeof *wide);
  for (size_t i = 0; i < a; ++i) wide[i] = (unsigned char)ascii[i];
  for (size_t i = 0; i < t; ++i) wide[a + i] = tail[i];
  return wide;
}

static int RunCorpus(const char* corpus, bool underWine) {
  char folder[1024], path[2048];
  Listing listing;
  int files = 0;
  snprintf(folder, sizeof folder, "%s" SEP "ppt", corpus);
  if (!CHECK(OpenListing(&listing, folder))) return 0;
  for (const char* name; (name = NextName(&listing)) != NULL; ++files) {
    Expected e;
    Bytes data;
    snprintf(path, sizeof path, "%s" SEP "%s", folder, name);
    if (!CHECK(LoadExpected(corpus, name, &e) && ReadWhole(path, &data)))
      continue;
    if (underWine && strcmp(name, kRefusedByWine[0]) == 0) {
      free(e.utf16.bytes), free(e.ansi.bytes);
      memset(&e, 0, sizeof e);
      e.errorCode = 4;
    }
    txtppt2_char16* wide = Widen(path, NULL);
    ConvertEveryWay(name, &e, path, wide, &data);
    free(wide), free(data.bytes), free(e.utf16.bytes), free(e.ansi.bytes);
  }
  return files;
}

/* A corpus file copied under names beyond ASCII converts as under its own:
 * one in Windows-1252's range, one that the ANSI code page cannot spell. */
static void RunNonAsciiNames(const char* corpus, const char* folder) {
  static const txtppt2_char16 kNames[2][24] = {
      {SEP_CHAR, 'P', 'r', 0xE4, 's', 'e', 'n',  't', 'a', 't', 'i', 'o',
       'n',      ',', ' ', 'c',  'a', 'f', 0xE9, '.', 'p', 'p', 't'},
      {SEP_CHAR, 0x043F, 0x0440, 0x0438, 0x043C, 0x0435, 0x0440, ' ', 0x65E5,
       0x672C, '.', 'p', 'p', 't'}};
  char source[1024];
  Expected e;
  Bytes data;
  snprintf(source, sizeof source, "%s" SEP "ppt" SEP "SampleShow.ppt", corpus);
  if (!CHECK(LoadExpected(corpus, "SampleShow.ppt", &e) &&
             ReadWhole(source, &data)))
    return;
  for (int i = 0; i < 2; ++i) {
    txtppt2_char16* wide = Widen(folder, kNames[i]);
    char* narrow = Narrow(wide);
    FILE* copy = OpenWide(wide);
    if (CHECK(copy != NULL)) {
      CHECK(fwrite(data.bytes, 1, data.size, copy) == data.size);
      fclose(copy);
      ConvertEveryWay("(non-ASCII name)", &e, narrow, wide, &data);
    }
    RemoveWide(wide);
    free(wide), free(narrow);
  }
  free(data.bytes), free(e.utf16.bytes), free(e.ansi.bytes);
}

/* ---- Failures and the error record. ----------------------------------- */
static const char kNotStorage[] = "The file is not a storage object";

static void ExpectFailure(const char* path, const char* message) {
  uint32_t count = 77;
  char got[256] = "";
  CHECK(api.toUnicode(path, &count) == NULL && count == 77);
  CHECK(api.errorCode() == 4 && api.errorMessage(got, sizeof got) == 1);
  if (!CHECK(strcmp(got, message) == 0))
    fprintf(stderr, "  %s: %s\n", path, got);
  CHECK(!api.fileSupported(path));
}

static void RunFailures(const char* folder, bool underWine) {
  char path[1024];
  snprintf(path, sizeof path, "%s" SEP "missing.ppt", folder);
  ExpectFailure(path, "The stream with the name specified does not exist");
  snprintf(path, sizeof path, "%s" SEP "no such folder" SEP "x.ppt", folder);
  ExpectFailure(path, "The path specified does not exist");
  ExpectFailure(folder,
                "Access denied because the caller has insufficient permission, "
                "or another caller has the file open and locked");
  snprintf(path, sizeof path, "%s" SEP "empty.ppt", folder);
  fclose(fopen(path, "wb"));
  ExpectFailure(path, kNotStorage);
  RemoveFile(path);

  /* Not a compound file in memory: the count keeps the input length. Wine's
   * StgOpenStorageOnILockBytes answers a block shorter than a header with
   * STG_E_FILENOTFOUND and a wrong signature with STG_E_INVALIDHEADER
   * (unknown to the converter), where Windows answers both with
   * STG_E_FILEALREADYEXISTS. */
  static char block[600];
  memset(block, 'x', sizeof block);
  const struct {
    uint32_t size;
    const char* message;
    const char* underWine;
  } blocks[] = {
      {3, kNotStorage, "The stream with the name specified does not exist"},
      {600, kNotStorage, "Can't open storage: unknown error"}};
  for (int i = 0; i < 2; ++i) {
    uint32_t count = blocks[i].size;
    char got[256] = "";
    CHECK(api.memoryToUnicode(block, 0, &count) == NULL &&
          count == blocks[i].size);
    api.errorMessage(got, sizeof got);
    CHECK(api.errorCode() == 4 &&
          strcmp(got, underWine ? blocks[i].underWine : blocks[i].message) ==
              0);
    CHECK(!api.memSupported(block, blocks[i].size));
  }
}

/* The message is copied as lstrcpynA copies: bufferSize is taken as
 * unsigned, 0 writes nothing, and a null buffer is no crash. */
static void RunMessageCopies(const char* folder) {
  static const char kFull[] = "The path specified does not exist";
  const struct {
    int32_t size;
    const char* written; /* NULL: the buffer is left alone */
  } copies[] = {{64, kFull},
                {34, kFull},
                {33, "The path specified does not exis"},
                {10, "The path "},
                {1, ""},
                {0, NULL},
                {-1, kFull},
                {INT_MIN, kFull}};
  char path[1024];
  uint32_t count = 0;
  snprintf(path, sizeof path, "%s" SEP "no such folder" SEP "x.ppt", folder);
  api.toText(path, &count);
  for (size_t i = 0; i < sizeof copies / sizeof copies[0]; ++i) {
    char buffer[64];
    memset(buffer, '#', sizeof buffer);
    CHECK(api.errorMessage(buffer, copies[i].size) == 1);
    size_t n = copies[i].written ? strlen(copies[i].written) + 1 : 0;
    if (!CHECK((n == 0 || memcmp(buffer, copies[i].written, n) == 0) &&
               buffer[n] == '#'))
      fprintf(stderr, "  bufferSize %d\n", copies[i].size);
  }
  CHECK(api.errorMessage(NULL, 64) == 1 && api.errorMessage(NULL, -1) == 1);
  CHECK(api.errorCode() == 4);
}

/* A new thread has its own record, empty until its own first failure; when
 * its first call cannot have the memory for one, that call fails cleanly
 * and the thread reads "Out of memory", code 4. */
static Bytes threadData;
static void OnNewThread(void) {
  char message[64] = "#";
  uint32_t count = threadData.size;
  CHECK(api.errorCode() == 0 && api.errorMessage(message, 64) == 0 &&
        !message[0]);
#ifdef TXTPPT2_FAILING_MALLOC
  failAllocations = true;
  void* block = api.memoryToUnicode(threadData.bytes, 0, &count);
  failAllocations = false;
  CHECK(block == NULL && count == threadData.size);
  CHECK(api.errorCode() == 4 && api.errorMessage(message, 64) == 1 &&
        strcmp(message, "Out of memory") == 0);
#endif
  count = threadData.size;
  void* text = api.memoryToUnicode(threadData.bytes, 0, &count);
  CHECK(text != NULL && FreeBlock(text, count, 2) && api.errorCode() == 0);
  count = 3;
  api.memoryToText("abc", 0, &count);
  CHECK(api.errorCode() == 4);
}

static void RunThreads(const char* corpus, const char* folder) {
  static const char kMissing[] =
      "The stream with the name specified does not exist";
  char path[1024], message[64];
  uint32_t count = 0;
  snprintf(path, sizeof path, "%s" SEP "ppt" SEP "SampleShow.ppt", corpus);
  if (!CHECK(ReadWhole(path, &threadData))) return;
  snprintf(path, sizeof path, "%s" SEP "missing.ppt", folder);
  api.toText(path, &count);
  RunOnNewThread(OnNewThread);
  api.errorMessage(message, sizeof message);
  CHECK(api.errorCode() == 4 && strcmp(message, kMissing) == 0);
  free(threadData.bytes);
}

int main(int argc, char** argv) {
  char library[1024], corpus[1024] = "", folder[1024], probe[1100];
  Listing listing;
  if (argc < 2 || argc > 3) {
    fprintf(stderr, "usage: %s LIBRARY [CORPUS]\n", argv[0]);
    return 2;
  }
  snprintf(library, sizeof library, "%s", argv[1]);
  if (argc == 3) snprintf(corpus, sizeof corpus, "%s", argv[2]);
  for (char* c = corpus; SEP[0] == '\\' && *c; ++c) *c = *c == '/' ? '\\' : *c;
  for (char* c = library; SEP[0] == '\\' && *c; ++c) *c = *c == '/' ? '\\' : *c;
  Library loaded = Load(library);
  if (!loaded || !ResolveAll(loaded)) {
    fprintf(stderr, "%s: not loaded, or exports missing\n", library);
    return 1;
  }
  bool underWine = UnderWine();
  char message[16] = "#";
  CHECK(api.errorCode() == 0 && api.errorMessage(message, 16) == 0 &&
        !message[0]);
  CHECK(MakeFolder(folder, sizeof folder));
  RunFailures(folder, underWine);
  RunMessageCopies(folder);

  snprintf(probe, sizeof probe, "%s" SEP "ppt", corpus);
  bool haveCorpus = corpus[0] && OpenListing(&listing, probe);
  if (haveCorpus) {
    while (NextName(&listing)) continue;
    int files = RunCorpus(corpus, underWine);
    printf("corpus: %d files converted every way%s\n", files,
           underWine ? " (one refused by Wine's ole32, as expected)" : "");
    CHECK(files > 100);
    RunNonAsciiNames(corpus, folder);
    RunThreads(corpus, folder);
  } else if (getenv("CI") && strcmp(getenv("CI"), "true") == 0) {
    fprintf(stderr, "the shared corpus (%s) is missing in CI\n", probe);
    ++failures;
  } else {
    printf("the shared corpus (%s) is not here; its part is skipped\n", probe);
  }
  RemoveFolder(folder);
  if (failures != 0) {
    fprintf(stderr, "%d of %d checks failed\n", failures, checks);
    return 1;
  }
  printf("host test passed: %d checks\n", checks);
  return haveCorpus ? 0 : 77; /* CTest reports 77 as skipped */
}
