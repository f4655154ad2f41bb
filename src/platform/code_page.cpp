// The two conversion entry points: argument checks common to every code
// page, then the code page's own converter. UTF-8 lives here; Windows-1252
// has its own file.
#include "platform/code_page.h"

#include <cstring>

#include "platform/utf8.h"
#include "platform/windows_1252.h"

namespace {

constexpr WCHAR kEscapeBase = 0xDC00;  // U+DC80..U+DCFF stand for bytes 80..FF

// Appends units to dst while counting them; writes only while within
// capacity (capacity 0 means count only).
class UnitWriter {
 public:
  UnitWriter(WCHAR* units, int unitCapacity)
      : dst(units), capacity(unitCapacity) {}
  void Put(WCHAR unit) {
    if (capacity != 0 && count < capacity) dst[count] = unit;
    ++count;
  }
  // The result of the conversion: the count, or 0 when it did not fit.
  int Result() const { return capacity != 0 && count > capacity ? 0 : count; }

 private:
  WCHAR* dst;
  int capacity;
  int count = 0;
};

int Utf8ToUtf16(const char* src, int n, WCHAR* dst, int capacity) {
  const auto* s = reinterpret_cast<const unsigned char*>(src);
  UnitWriter out(dst, capacity);
  int i = 0;
  while (i < n) {
    char32_t cp;
    int len = txtppt2::DecodeUtf8(s + i, static_cast<size_t>(n - i), &cp);
    if (len == 0) {
      out.Put(static_cast<WCHAR>(kEscapeBase + s[i]));
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.Put(static_cast<WCHAR>(0xD800 + (cp >> 10)));
      out.Put(static_cast<WCHAR>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.Put(static_cast<WCHAR>(cp));
    }
    i += len;
  }
  return out.Result();
}

// The reverse of Utf8ToUtf16. A lone surrogate that does not stand for an
// escaped byte has no UTF-8 form: the conversion fails.
int Utf16ToUtf8(const WCHAR* src, int n, char* dst, int capacity) {
  int count = 0;
  auto put = [&](unsigned char byte) {
    if (capacity != 0 && count < capacity) dst[count] = static_cast<char>(byte);
    ++count;
  };
  for (int i = 0; i < n; ++i) {
    char32_t cp = src[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && src[i + 1] >= 0xDC00 &&
        src[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (src[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xDC80 && cp <= 0xDCFF) {
      put(static_cast<unsigned char>(cp - kEscapeBase));
      continue;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      return 0;
    }
    char bytes[txtppt2::kMaxUtf8Bytes];
    for (char *p = bytes, *end = txtppt2::EncodeUtf8(bytes, cp); p != end; ++p)
      put(static_cast<unsigned char>(*p));
  }
  return capacity != 0 && count > capacity ? 0 : count;
}

int WideLength(LPCWSTR s) {
  int n = 0;
  while (s[n] != 0) ++n;
  return n;
}

}  // namespace

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr,
                        int cbMultiByte, LPWSTR lpWideCharStr,
                        int cchWideChar) {
  if (lpMultiByteStr == nullptr || cchWideChar < 0 ||
      (cchWideChar > 0 && lpWideCharStr == nullptr))
    return 0;
  if ((dwFlags & ~static_cast<DWORD>(MB_PRECOMPOSED | MB_ERR_INVALID_CHARS)) !=
      0)
    return 0;
  int n = cbMultiByte < 0 ? static_cast<int>(std::strlen(lpMultiByteStr)) + 1
                          : cbMultiByte;
  if (n == 0) return 0;
  switch (CodePage) {
    case CP_ACP:
      return txtppt2::Windows1252ToUtf16(lpMultiByteStr, n, lpWideCharStr,
                                         cchWideChar);
    case CP_UTF8:
      return Utf8ToUtf16(lpMultiByteStr, n, lpWideCharStr, cchWideChar);
    default:
      return 0;
  }
}

int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr,
                        int cchWideChar, LPSTR lpMultiByteStr, int cbMultiByte,
                        LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar) {
  if (lpWideCharStr == nullptr || cbMultiByte < 0 ||
      (cbMultiByte > 0 && lpMultiByteStr == nullptr))
    return 0;
  int n = cchWideChar < 0 ? WideLength(lpWideCharStr) + 1 : cchWideChar;
  if (n == 0) return 0;
  if (lpUsedDefaultChar != nullptr) *lpUsedDefaultChar = FALSE;
  switch (CodePage) {
    case CP_ACP: {
      char defaultChar = lpDefaultChar != nullptr ? lpDefaultChar[0] : '?';
      return txtppt2::Utf16ToWindows1252(lpWideCharStr, n, dwFlags,
                                         lpMultiByteStr, cbMultiByte,
                                         defaultChar, lpUsedDefaultChar);
    }
    case CP_UTF8:
      // UTF-8 takes neither a default character nor these flags.
      if (dwFlags != 0 || lpDefaultChar != nullptr ||
          lpUsedDefaultChar != nullptr)
        return 0;
      return Utf16ToUtf8(lpWideCharStr, n, lpMultiByteStr, cbMultiByte);
    default:
      return 0;
  }
}
