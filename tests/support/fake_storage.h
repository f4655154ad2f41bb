// Fakes of the platform's storage interfaces, with every result chosen by
// the test: a stream over given bytes whose Read, Seek and Stat can fail in
// chosen ways (or throw), and a storage that hands out such a stream.
#ifndef TXTPPT2_TESTS_SUPPORT_FAKE_STORAGE_H_
#define TXTPPT2_TESTS_SUPPORT_FAKE_STORAGE_H_

#include <optional>
#include <string>

#include "platform/windows.h"

namespace txtppt2::testing {

struct FakeStreamBehaviour {
  std::string bytes{};                  // the stream's content
  std::optional<HRESULT> readResult{};  // returned by every Read, if set
  std::optional<ULONG> readCount{};     // bytes Read claims, if set
  HRESULT seekResult = S_OK;
  HRESULT statResult = S_OK;
  bool readThrowsNonStandard = false;  // Read throws an int
};

class FakeStream final : public IStream {
 public:
  explicit FakeStream(FakeStreamBehaviour behaviour);

  HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override;
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin,
                                 ULARGE_INTEGER* newPosition) override;
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;
  // The rest does nothing the tests need.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override {
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*,
                                   ULARGE_INTEGER*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER,
                                       DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER,
                                         DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

  uint64_t Position() const { return position_; }
  // Fake objects (streams and storages) alive on this thread.
  static int LiveCount();

 private:
  ~FakeStream();

  FakeStreamBehaviour behaviour_;
  uint64_t position_ = 0;
  ULONG refs_ = 1;
};

// A root storage that answers OpenStream with openResult and, on success,
// a new FakeStream with the given behaviour.
class FakeStorage final : public IStorage {
 public:
  FakeStorage(HRESULT openResult, FakeStreamBehaviour behaviour);

  HRESULT STDMETHODCALLTYPE OpenStream(const OLECHAR* name, void*, DWORD mode,
                                       DWORD, IStream** stream) override;
  // The rest does nothing the tests need.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override {
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE CreateStream(const OLECHAR*, DWORD, DWORD, DWORD,
                                         IStream**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CreateStorage(const OLECHAR*, DWORD, DWORD, DWORD,
                                          IStorage**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE OpenStorage(const OLECHAR*, IStorage*, DWORD, SNB,
                                        DWORD, IStorage**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CopyTo(DWORD, const IID*, SNB, IStorage*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE MoveElementTo(const OLECHAR*, IStorage*,
                                          const OLECHAR*, DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumElements(DWORD, void*, DWORD,
                                         IEnumSTATSTG**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DestroyElement(const OLECHAR*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE RenameElement(const OLECHAR*,
                                          const OLECHAR*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetElementTimes(const OLECHAR*, const FILETIME*,
                                            const FILETIME*,
                                            const FILETIME*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetClass(REFCLSID) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetStateBits(DWORD, DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }

  // The name and mode of the last OpenStream.
  std::u16string lastName;
  DWORD lastMode = 0;

 private:
  ~FakeStorage();

  HRESULT openResult_;
  FakeStreamBehaviour behaviour_;
  ULONG refs_ = 1;
};

}  // namespace txtppt2::testing

#endif  // TXTPPT2_TESTS_SUPPORT_FAKE_STORAGE_H_
