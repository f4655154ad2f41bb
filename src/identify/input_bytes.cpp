#include "identify/input_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "identify/compound_file_access.h"

namespace txtppt2 {

struct InputBytes::Descriptor {
  explicit Descriptor(int fd_) : fd(fd_) {}
  ~Descriptor() { close(fd); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  // pread until count bytes or the end; what was read.
  size_t ReadAt(uint64_t offset, void* buffer, size_t count) const {
    size_t done = 0;
    while (done < count) {
      const ssize_t got =
          pread(fd, static_cast<uint8_t*>(buffer) + done, count - done,
                static_cast<off_t>(offset + done));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      done += static_cast<size_t>(got);
    }
    return done;
  }

  int fd;
};

namespace {

class DescriptorByteSource final : public ByteSource {
 public:
  DescriptorByteSource(
      std::shared_ptr<const InputBytes::Descriptor> descriptor_,
      uint64_t sourceSize)
      : ByteSource(sourceSize), descriptor(std::move(descriptor_)) {}
  size_t ReadAt(uint64_t offset, void* buffer, size_t count) override {
    if (offset >= Size()) return 0;
    return descriptor->ReadAt(
        offset, buffer,
        static_cast<size_t>(std::min<uint64_t>(count, Size() - offset)));
  }

 private:
  std::shared_ptr<const InputBytes::Descriptor> descriptor;
};

}  // namespace

std::unique_ptr<InputBytes> InputBytes::Open(const char* path, int* error) {
  *error = 0;
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = errno;
    return nullptr;
  }
  std::unique_ptr<InputBytes> input(new InputBytes());
  input->descriptor = std::make_shared<Descriptor>(fd);
  struct stat status;
  if (fstat(fd, &status) != 0) {
    *error = errno;
    return nullptr;
  }
  if (S_ISDIR(status.st_mode)) {
    *error = EISDIR;
    return nullptr;
  }
  if (S_ISREG(status.st_mode)) {
    input->fileSize = static_cast<uint64_t>(status.st_size);
    if (input->fileSize > UINT32_MAX) {
      *error = EFBIG;
      return nullptr;
    }
    return input;
  }
  uint8_t buffer[64 * 1024];
  while (true) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      *error = errno;
      return nullptr;
    }
    if (got == 0) break;
    if (input->readWhole.size() + got > UINT32_MAX) {
      *error = EFBIG;
      return nullptr;
    }
    input->readWhole.insert(input->readWhole.end(), buffer, buffer + got);
  }
  input->descriptor.reset();
  input->memory = input->readWhole;
  return input;
}

uint64_t InputBytes::Size() const {
  return descriptor ? fileSize : memory.size();
}

size_t InputBytes::ReadAt(uint64_t offset, void* buffer, size_t count) const {
  if (descriptor) {
    if (offset >= fileSize) return 0;
    return descriptor->ReadAt(
        offset, buffer,
        static_cast<size_t>(std::min<uint64_t>(count, fileSize - offset)));
  }
  if (offset >= memory.size()) return 0;
  count =
      static_cast<size_t>(std::min<uint64_t>(count, memory.size() - offset));
  std::memcpy(buffer, memory.data() + offset, count);
  return count;
}

std::unique_ptr<ByteSource> InputBytes::NewSource() const {
  if (!descriptor) return std::make_unique<SpanByteSource>(memory);
  return std::make_unique<DescriptorByteSource>(descriptor, fileSize);
}

bool InputBytes::CopyAll(std::vector<uint8_t>* out) const {
  out->resize(static_cast<size_t>(Size()));
  return ReadAt(0, out->data(), out->size()) == out->size();
}

}  // namespace txtppt2
