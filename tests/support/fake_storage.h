// Fakes of the platform's storage interfaces, with every result chosen by
// the test: a stream over given bytes whose Read, Seek and Stat can fail in
// chosen ways (or throw), a storage that hands out such a stream, and the
// record reader over such a stream.
#ifndef TXTPPT2_TESTS_SUPPORT_FAKE_STORAGE_H_
#define TXTPPT2_TESTS_SUPPORT_FAKE_STORAGE_H_

#include <memory>
#include <optional>
#include <string>

#include "platform/windows.h"
#include "storage/storage_stream.h"

namespace txtppt2::testing {

// A method no test calls: it answers E_NOTIMPL.
#define TXTPPT2_NOT_CALLED(name, ...) \
  HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_NOTIMPL; }

struct FakeStreamBehaviour {
  std::string bytes{};                  // the stream's content
  std::optional<HRESULT> readResult{};  // returned by every Read, if set
  std::optional<ULONG> readCount{};     // bytes Read claims, if set
  HRESULT seekResult = S_OK;
  HRESULT statResult = S_OK;
  bool readThrowsNonStandard = false;  // Read throws an int
  std::optional<uint64_t> statSize{};  // the size Stat reports, if set
};

class FakeStream final : public IStream {
 public:
  explicit FakeStream(FakeStreamBehaviour behaviour);

  HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override;
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin,
                                 ULARGE_INTEGER* newPosition) override;
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;
  TXTPPT2_NOT_CALLED(QueryInterface, REFIID, void**)
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override;
  TXTPPT2_NOT_CALLED(Write, const void*, ULONG, ULONG*)
  TXTPPT2_NOT_CALLED(SetSize, ULARGE_INTEGER)
  TXTPPT2_NOT_CALLED(CopyTo, IStream*, ULARGE_INTEGER, ULARGE_INTEGER*,
                     ULARGE_INTEGER*)
  TXTPPT2_NOT_CALLED(Commit, DWORD)
  TXTPPT2_NOT_CALLED(Revert)
  TXTPPT2_NOT_CALLED(LockRegion, ULARGE_INTEGER, ULARGE_INTEGER, DWORD)
  TXTPPT2_NOT_CALLED(UnlockRegion, ULARGE_INTEGER, ULARGE_INTEGER, DWORD)
  TXTPPT2_NOT_CALLED(Clone, IStream**)

  uint64_t Position() const { return position; }
  // Fake objects (streams and storages) alive on this thread.
  static int LiveCount();

 private:
  ~FakeStream();

  FakeStreamBehaviour behaviour;
  uint64_t position = 0;
  ULONG refs = 1;
};

// A root storage that answers OpenStream with openResult and, on success,
// a new FakeStream with the given behaviour (E_OUTOFMEMORY: it throws).
class FakeStorage final : public IStorage {
 public:
  FakeStorage(HRESULT openResult, FakeStreamBehaviour behaviour);

  HRESULT STDMETHODCALLTYPE OpenStream(const OLECHAR* name, void*, DWORD mode,
                                       DWORD, IStream** stream) override;
  TXTPPT2_NOT_CALLED(QueryInterface, REFIID, void**)
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override;
  TXTPPT2_NOT_CALLED(CreateStream, const OLECHAR*, DWORD, DWORD, DWORD,
                     IStream**)
  TXTPPT2_NOT_CALLED(CreateStorage, const OLECHAR*, DWORD, DWORD, DWORD,
                     IStorage**)
  TXTPPT2_NOT_CALLED(OpenStorage, const OLECHAR*, IStorage*, DWORD, SNB, DWORD,
                     IStorage**)
  TXTPPT2_NOT_CALLED(CopyTo, DWORD, const IID*, SNB, IStorage*)
  TXTPPT2_NOT_CALLED(MoveElementTo, const OLECHAR*, IStorage*, const OLECHAR*,
                     DWORD)
  TXTPPT2_NOT_CALLED(Commit, DWORD)
  TXTPPT2_NOT_CALLED(Revert)
  TXTPPT2_NOT_CALLED(EnumElements, DWORD, void*, DWORD, IEnumSTATSTG**)
  TXTPPT2_NOT_CALLED(DestroyElement, const OLECHAR*)
  TXTPPT2_NOT_CALLED(RenameElement, const OLECHAR*, const OLECHAR*)
  TXTPPT2_NOT_CALLED(SetElementTimes, const OLECHAR*, const FILETIME*,
                     const FILETIME*, const FILETIME*)
  TXTPPT2_NOT_CALLED(SetClass, REFCLSID)
  TXTPPT2_NOT_CALLED(SetStateBits, DWORD, DWORD)
  TXTPPT2_NOT_CALLED(Stat, STATSTG*, DWORD)

  // The name and mode of the last OpenStream.
  std::u16string lastName;
  DWORD lastMode = 0;

 private:
  ~FakeStorage();

  HRESULT openResult;
  FakeStreamBehaviour behaviour;
  ULONG refs = 1;
};

#undef TXTPPT2_NOT_CALLED

// The reader the record walkers read through, over a fake stream: a stream
// already in memory, or one that fails as behaviour says.
inline std::unique_ptr<StorageStream> StreamOver(
    FakeStreamBehaviour behaviour) {
  auto stream = std::make_unique<StorageStream>();
  *stream->StreamSlot() = new FakeStream(std::move(behaviour));
  return stream;
}

}  // namespace txtppt2::testing

#endif  // TXTPPT2_TESTS_SUPPORT_FAKE_STORAGE_H_
