#include "benchmark_inputs.h"

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "document_stream_size.h"
#include "read_file.h"
#include "txtppt2.h"

namespace txtppt2::bench {

namespace {

namespace fs = std::filesystem;

// The folder of synthetic files, removed at exit and on SIGINT/SIGTERM.
std::string scratchFolder;

void RemoveScratchOnSignal(int signal) {
  RemoveScratch();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

const std::string& ScratchFolder() {
  if (scratchFolder.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
        "/txtppt2-bench-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("mkdtemp");
      std::exit(1);
    }
    scratchFolder = pattern;
    std::atexit(RemoveScratch);
    std::signal(SIGINT, RemoveScratchOnSignal);
    std::signal(SIGTERM, RemoveScratchOnSignal);
  }
  return scratchFolder;
}

}  // namespace

const std::string& Input::Data() {
  if (!loaded) {
    data = synthetic ? synthetic->Build() : ReadFile(path);
    loaded = true;
  }
  return data;
}

void Input::Release() {
  std::string().swap(data);
  loaded = false;
}

const std::string& Input::Path() {
  if (path.empty() && synthetic) {
    std::string written =
        ScratchFolder() + "/" + name.substr(name.find('/') + 1) + ".ppt";
    if (!synthetic->WriteFile(written)) {
      std::perror(written.c_str());
      std::exit(1);
    }
    path = written;
  }
  return path;
}

std::vector<std::unique_ptr<Input>> CorpusInputs(const std::string& folder) {
  std::vector<std::unique_ptr<Input>> inputs;
  std::error_code error;
  if (!fs::is_directory(folder, error)) return inputs;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder, error))
    if (entry.is_regular_file() && entry.path().extension() == ".ppt")
      files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    auto input = std::make_unique<Input>();
    input->name = "corpus/" + file.filename().string();
    input->path = file.string();
    input->fileSize = fs::file_size(file, error);
    input->streamSize = DocumentStreamSize(input->Data());
    input->Release();
    uint32_t count = 0;
    void* text = ConvertToUnicode(input->path.c_str(), &count);
    if (text == nullptr) continue;  // not a presentation we convert
    std::free(text);
    inputs.push_back(std::move(input));
  }
  return inputs;
}

std::unique_ptr<Input> SyntheticInput(const char* label, uint64_t bytes) {
  auto input = std::make_unique<Input>();
  input->name = std::string("synthetic/") + label;
  input->synthetic = std::make_unique<SyntheticPresentation>(bytes);
  input->streamSize = input->synthetic->StreamSize();
  input->fileSize = input->synthetic->FileSize();
  return input;
}

void RemoveScratch() {
  if (scratchFolder.empty()) return;
  std::error_code ignored;
  fs::remove_all(scratchFolder, ignored);
  scratchFolder.clear();
}

}  // namespace txtppt2::bench
