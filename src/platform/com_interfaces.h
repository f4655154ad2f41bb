// The COM interfaces of structured storage, for POSIX builds: IUnknown,
// ILockBytes, ISequentialStream, IStream and IStorage, as abstract classes
// whose virtual slots have the order of the Windows SDK. IEnumSTATSTG is
// only named: nothing here enumerates.
// Implementations may answer E_NOTIMPL for methods the converter never calls.
//
// Include "platform/windows.h" rather than this file.
#ifndef TXTPPT2_PLATFORM_COM_INTERFACES_H_
#define TXTPPT2_PLATFORM_COM_INTERFACES_H_

#include "platform/win32_types.h"

extern const IID IID_IUnknown;
extern const IID IID_ILockBytes;
extern const IID IID_ISequentialStream;
extern const IID IID_IStream;
extern const IID IID_IStorage;

struct IUnknown {
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid,
                                                   void** ppvObject) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;

 protected:
  // Objects end through Release, never through delete on the interface.
  ~IUnknown() = default;
};

struct ILockBytes : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE ReadAt(ULARGE_INTEGER ulOffset, void* pv,
                                           ULONG cb, ULONG* pcbRead) = 0;
  virtual HRESULT STDMETHODCALLTYPE WriteAt(ULARGE_INTEGER ulOffset,
                                            const void* pv, ULONG cb,
                                            ULONG* pcbWritten) = 0;
  virtual HRESULT STDMETHODCALLTYPE Flush() = 0;
  virtual HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER cb) = 0;
  virtual HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER libOffset,
                                               ULARGE_INTEGER cb,
                                               DWORD dwLockType) = 0;
  virtual HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER libOffset,
                                                 ULARGE_INTEGER cb,
                                                 DWORD dwLockType) = 0;
  virtual HRESULT STDMETHODCALLTYPE Stat(STATSTG* pstatstg,
                                         DWORD grfStatFlag) = 0;

 protected:
  ~ILockBytes() = default;
};

struct ISequentialStream : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb,
                                         ULONG* pcbRead) = 0;
  virtual HRESULT STDMETHODCALLTYPE Write(const void* pv, ULONG cb,
                                          ULONG* pcbWritten) = 0;

 protected:
  ~ISequentialStream() = default;
};

struct IStream : public ISequentialStream {
  virtual HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER dlibMove,
                                         DWORD dwOrigin,
                                         ULARGE_INTEGER* plibNewPosition) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER libNewSize) = 0;
  virtual HRESULT STDMETHODCALLTYPE CopyTo(IStream* pstm, ULARGE_INTEGER cb,
                                           ULARGE_INTEGER* pcbRead,
                                           ULARGE_INTEGER* pcbWritten) = 0;
  virtual HRESULT STDMETHODCALLTYPE Commit(DWORD grfCommitFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE Revert() = 0;
  virtual HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER libOffset,
                                               ULARGE_INTEGER cb,
                                               DWORD dwLockType) = 0;
  virtual HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER libOffset,
                                                 ULARGE_INTEGER cb,
                                                 DWORD dwLockType) = 0;
  virtual HRESULT STDMETHODCALLTYPE Stat(STATSTG* pstatstg,
                                         DWORD grfStatFlag) = 0;
  virtual HRESULT STDMETHODCALLTYPE Clone(IStream** ppstm) = 0;

 protected:
  ~IStream() = default;
};

struct IEnumSTATSTG;

struct IStorage : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CreateStream(const OLECHAR* pwcsName,
                                                 DWORD grfMode,
                                                 DWORD reserved1,
                                                 DWORD reserved2,
                                                 IStream** ppstm) = 0;
  virtual HRESULT STDMETHODCALLTYPE OpenStream(const OLECHAR* pwcsName,
                                               void* reserved1, DWORD grfMode,
                                               DWORD reserved2,
                                               IStream** ppstm) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateStorage(const OLECHAR* pwcsName,
                                                  DWORD grfMode,
                                                  DWORD reserved1,
                                                  DWORD reserved2,
                                                  IStorage** ppstg) = 0;
  virtual HRESULT STDMETHODCALLTYPE OpenStorage(const OLECHAR* pwcsName,
                                                IStorage* pstgPriority,
                                                DWORD grfMode, SNB snbExclude,
                                                DWORD reserved,
                                                IStorage** ppstg) = 0;
  virtual HRESULT STDMETHODCALLTYPE CopyTo(DWORD ciidExclude,
                                           const IID* rgiidExclude,
                                           SNB snbExclude,
                                           IStorage* pstgDest) = 0;
  virtual HRESULT STDMETHODCALLTYPE MoveElementTo(const OLECHAR* pwcsName,
                                                  IStorage* pstgDest,
                                                  const OLECHAR* pwcsNewName,
                                                  DWORD grfFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE Commit(DWORD grfCommitFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE Revert() = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumElements(DWORD reserved1,
                                                 void* reserved2,
                                                 DWORD reserved3,
                                                 IEnumSTATSTG** ppenum) = 0;
  virtual HRESULT STDMETHODCALLTYPE DestroyElement(
      const OLECHAR* pwcsName) = 0;
  virtual HRESULT STDMETHODCALLTYPE RenameElement(
      const OLECHAR* pwcsOldName, const OLECHAR* pwcsNewName) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetElementTimes(const OLECHAR* pwcsName,
                                                    const FILETIME* pctime,
                                                    const FILETIME* patime,
                                                    const FILETIME* pmtime) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetClass(REFCLSID clsid) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetStateBits(DWORD grfStateBits,
                                                 DWORD grfMask) = 0;
  virtual HRESULT STDMETHODCALLTYPE Stat(STATSTG* pstatstg,
                                         DWORD grfStatFlag) = 0;

 protected:
  ~IStorage() = default;
};

// Frees memory that a storage call handed out (STATSTG::pwcsName).
void CoTaskMemFree(void* pv);

// Opens the compound file at a UTF-16 path. The path is turned back into
// file system bytes with the UTF-8 surrogate-escape rule of the narrow path
// conversion. The file is read with pread and never mapped.
HRESULT StgOpenStorage(const WCHAR* pwcsName, IStorage* pstgPriority,
                       DWORD grfMode, SNB snbExclude, DWORD reserved,
                       IStorage** ppstgOpen);

// Opens a compound file read through plkbyt's ReadAt and Stat only. The
// storage holds a reference to plkbyt until it is released.
HRESULT StgOpenStorageOnILockBytes(ILockBytes* plkbyt, IStorage* pstgPriority,
                                   DWORD grfMode, SNB snbExclude,
                                   DWORD reserved, IStorage** ppstgOpen);

#endif  // TXTPPT2_PLATFORM_COM_INTERFACES_H_
