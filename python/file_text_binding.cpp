// txtppt2._txtppt2.extract_path / extract_buffer: a file's verdict and text
// through the API layer (api/file_text.h), for the package's
// extract_text, extract_bytes, extract_many and Dask. The interpreter lock
// is released while the file is read, classified and converted.
#include "file_text_binding.h"

#include <pybind11/stl.h>

#include <cstdint>
#include <optional>
#include <string>

#include "api/file_presentation.h"
#include "api/file_text.h"
#include "render/json_record.h"

namespace py = pybind11;

namespace txtppt2 {
namespace {

// (text, status, format, error, errno, code, message): text is bytes for
// an ok file and for a damaged one that kept some, else None; code and
// message are what the exports report for the same bytes (0 and "" where
// they convert it), for ConversionError.code and .message.
py::tuple Extract(const Source& source, bool unicode, bool complete,
                  const std::optional<std::string>& password) {
  FileText result;
  SourceConversion exports;
  {
    py::gil_scoped_release unlocked;
    const OutputMode mode = unicode ? kUnicode : kPureText;
    result = ExtractFileText(source, mode,
                             complete ? kCompleteText : kExactText, password);
    if (result.verdict.status != FileStatus::kOk && result.code == 0 &&
        result.verdict.status != FileStatus::kUnreadable)
      exports = ConvertSource(source, mode, kExactText);
  }
  const FileVerdict& verdict = result.verdict;
  const bool hasText =
      verdict.status == FileStatus::kOk ||
      (verdict.status == FileStatus::kDamaged && !result.text.empty());
  py::object text = hasText ? py::object(py::bytes(result.text)) : py::none();
  uint32_t code = result.code != 0 ? result.code : exports.code;
  std::string message = result.code != 0 ? result.message : exports.message;
  return py::make_tuple(text, FileStatusName(verdict.status), verdict.format,
                        verdict.error, verdict.osError, code,
                        py::bytes(message));
}

// (json, status, format, error, errno, code, message): json is the deck's
// RenderPresentationJson object for an ok file and a damaged one that kept
// some, else None.
py::tuple PresentationOf(const Source& source,
                         const std::optional<std::string>& password) {
  FilePresentation result;
  std::string json;
  {
    py::gil_scoped_release unlocked;
    result = ExtractFilePresentation(source, password);
    if (result.presentation)
      json = RenderPresentationJson(*result.presentation);
  }
  const FileVerdict& verdict = result.verdict;
  py::object data = result.presentation ? py::object(py::bytes(json))
                                        : py::object(py::none());
  return py::make_tuple(data, FileStatusName(verdict.status), verdict.format,
                        verdict.error, verdict.osError, result.code,
                        py::bytes(verdict.error));
}

std::string NarrowPath(const py::bytes& path) {
  std::string narrow = path;
  if (narrow.find('\0') != std::string::npos)
    throw py::value_error("embedded null byte in path");
  return narrow;
}

MemorySource HeldSource(const py::buffer_info& info) {
  const uint64_t size = static_cast<uint64_t>(info.size) * info.itemsize;
  if (size > UINT32_MAX)
    throw py::value_error("a presentation in memory must be under 4 GiB");
  if (info.ndim > 1 || (info.ndim == 1 && info.strides[0] != info.itemsize))
    throw py::buffer_error("a presentation in memory must be contiguous");
  return MemorySource{static_cast<const BYTE*>(info.ptr),
                      static_cast<uint32_t>(size)};
}

py::tuple ExtractPath(const py::bytes& path, bool unicode, bool complete,
                      const std::optional<std::string>& password) {
  std::string narrow = path;
  if (narrow.find('\0') != std::string::npos)
    throw py::value_error("embedded null byte in path");
  return Extract(PathSource{narrow.c_str()}, unicode, complete, password);
}

py::tuple ExtractBuffer(const py::buffer& buffer, bool unicode, bool complete,
                        const std::optional<std::string>& password) {
  // The view is held, and the exporter cannot free or resize the bytes,
  // while info lives.
  py::buffer_info info = buffer.request();
  const uint64_t size = static_cast<uint64_t>(info.size) * info.itemsize;
  if (size > UINT32_MAX)
    throw py::value_error("a presentation in memory must be under 4 GiB");
  if (info.ndim > 1 || (info.ndim == 1 && info.strides[0] != info.itemsize))
    throw py::buffer_error("a presentation in memory must be contiguous");
  return Extract(MemorySource{static_cast<const BYTE*>(info.ptr),
                              static_cast<uint32_t>(size)},
                 unicode, complete, password);
}

}  // namespace

void DefineFileTextBindings(py::module_& module) {
  module.def("extract_path", &ExtractPath, py::arg("path"), py::arg("unicode"),
             py::arg("complete"), py::arg("password"),
             "The verdict and text of the file at a file-system-encoded "
             "path: (text, status, format, error, errno, code, message).");
  module.def(
      "file_presentation_path",
      [](const py::bytes& path, const std::optional<std::string>& password) {
        std::string narrow = NarrowPath(path);
        return PresentationOf(PathSource{narrow.c_str()}, password);
      },
      py::arg("path"), py::arg("password"),
      "The verdict and the deck as JSON of the file at a path: (json, "
      "status, format, error, errno, code, message).");
  module.def(
      "file_presentation_buffer",
      [](const py::buffer& buffer, const std::optional<std::string>& password) {
        py::buffer_info info = buffer.request();
        return PresentationOf(HeldSource(info), password);
      },
      py::arg("buffer"), py::arg("password"),
      "The verdict and the deck as JSON of a file in a contiguous buffer.");
  module.def("extract_buffer", &ExtractBuffer, py::arg("buffer"),
             py::arg("unicode"), py::arg("complete"), py::arg("password"),
             "The verdict and text of a file held in a contiguous buffer: "
             "(text, status, format, error, errno, code, message).");
}

}  // namespace txtppt2
