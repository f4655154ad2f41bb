// The extension txtppt2._txtppt2: conversions and support probes of a path
// or of a buffer, for the pure-Python package (python/txtppt2) to wrap. The
// interpreter lock is released while the converter runs, so that threads
// convert in parallel; Python objects are made only once it is held again.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "api/isolated_conversion.h"
#include "file_text_binding.h"
#include "api/presentation_extraction.h"
#include "render/json_record.h"
#include "render/markdown.h"
#include "txtppt2.h"

namespace py = pybind11;
using txtppt2::MemorySource;
using txtppt2::OutputMode;
using txtppt2::PathSource;
using txtppt2::Source;
using txtppt2::SourceConversion;

namespace {

// An object's bytes, held through the buffer protocol for as long as this
// lives: the exporter can neither free nor resize them meanwhile. Only a
// contiguous buffer is accepted (BufferError otherwise).
class HeldBuffer {
 public:
  explicit HeldBuffer(const py::object& object) {
    if (PyObject_GetBuffer(object.ptr(), &view, PyBUF_SIMPLE) != 0)
      throw py::error_already_set();
  }
  ~HeldBuffer() { PyBuffer_Release(&view); }
  HeldBuffer(const HeldBuffer&) = delete;
  HeldBuffer& operator=(const HeldBuffer&) = delete;

  // The converter counts a block's bytes in 32 bits.
  MemorySource AsSource() const {
    if (static_cast<uint64_t>(view.len) > UINT32_MAX)
      throw py::value_error("a presentation in memory must be under 4 GiB");
    return {static_cast<const BYTE*>(view.buf),
            static_cast<uint32_t>(view.len)};
  }

 private:
  Py_buffer view;
};

// A path argument as the NUL-terminated string the converter takes.
std::string NarrowPath(const py::bytes& path) {
  std::string narrow = path;
  if (narrow.find('\0') != std::string::npos)
    throw py::value_error("embedded null byte in path");
  return narrow;
}

OutputMode ModeFor(bool unicode) {
  return unicode ? txtppt2::kUnicode : txtppt2::kPureText;
}

// (text, 0, b"") on success, (None, code, message) on failure; the text is
// the result block's bytes without the terminator.
py::tuple Run(const Source& source, bool unicode, bool complete) {
  SourceConversion conversion;
  {
    py::gil_scoped_release unlocked;
    conversion = txtppt2::ConvertSource(
        source, ModeFor(unicode),
        complete ? txtppt2::kCompleteText : txtppt2::kExactText);
  }
  if (conversion.block != nullptr) {
    py::bytes text(static_cast<const char*>(conversion.block.get()),
                   conversion.count);
    return py::make_tuple(std::move(text), 0, py::bytes());
  }
  return py::make_tuple(py::none(), conversion.code,
                        py::bytes(conversion.message));
}

bool Probe(const Source& source) {
  py::gil_scoped_release unlocked;
  return txtppt2::IsSourceSupported(source);
}

// (json, 0, b"") on success, json being RenderPresentationJson's object;
// (None, code, message) on failure. The file is read and the JSON written
// without the interpreter lock.
py::tuple ExtractDeck(const Source& source) {
  txtppt2::PresentationExtraction extraction;
  std::string json;
  {
    py::gil_scoped_release unlocked;
    extraction = txtppt2::ExtractPresentation(source);
    if (extraction.ok) json = txtppt2::RenderPresentationJson(extraction.presentation);
  }
  if (extraction.ok) return py::make_tuple(py::bytes(json), 0, py::bytes());
  return py::make_tuple(py::none(), extraction.code,
                        py::bytes(extraction.message));
}

// A slide's number, title, text and notes, the strings as UTF-8 bytes
// (anything else in them the renderer makes U+FFFD).
using MarkdownSlide =
    std::tuple<uint32_t, std::optional<py::bytes>, py::bytes, py::bytes>;

py::str RenderMarkdown(const std::vector<MarkdownSlide>& slides) {
  txtppt2::Presentation presentation;
  for (const auto& [number, title, text, notes] : slides) {
    txtppt2::Slide& slide = presentation.slides.emplace_back();
    slide.number = number;
    if (title) slide.title = std::string(*title);
    slide.text = text;
    slide.notes = notes;
  }
  return py::str(txtppt2::RenderMarkdown(presentation));
}

py::tuple ExtractPresentationPath(const py::bytes& path) {
  std::string narrow = NarrowPath(path);
  return ExtractDeck(PathSource{narrow.c_str()});
}

py::tuple ExtractPresentationBuffer(const py::object& buffer) {
  HeldBuffer held(buffer);
  return ExtractDeck(held.AsSource());
}

py::tuple ConvertPath(const py::bytes& path, bool unicode, bool complete) {
  std::string narrow = NarrowPath(path);
  return Run(PathSource{narrow.c_str()}, unicode, complete);
}

py::tuple ConvertBuffer(const py::object& buffer, bool unicode, bool complete) {
  HeldBuffer held(buffer);
  return Run(held.AsSource(), unicode, complete);
}

bool ProbePath(const py::bytes& path) {
  std::string narrow = NarrowPath(path);
  return Probe(PathSource{narrow.c_str()});
}

bool ProbeBuffer(const py::object& buffer) {
  HeldBuffer held(buffer);
  return Probe(held.AsSource());
}

}  // namespace

PYBIND11_MODULE(_txtppt2, module) {
  module.doc() =
      "The converter's bindings; use the txtppt2 package, which wraps them.";
  module.attr("__version__") = TXTPPT2_VERSION;
  // The library's error codes (include/txtppt2.h), under Python's names.
  module.attr("NO_ERROR") = int{txtppt2_no_error};
  module.attr("ERROR_IN_PARAMETERS") = int{txtppt2_error_in_parameters};
  module.attr("CONVERSION_FAILED") = int{txtppt2_conversion_failed};
  module.attr("UNSUPPORTED_FORMAT") = int{txtppt2_unsupported_format};
  module.def("convert_path", &ConvertPath, py::arg("path"), py::arg("unicode"),
             py::arg("complete") = false,
             "Converts the file at a file-system-encoded path: (text, 0, b'') "
             "or (None, code, message).");
  module.def("convert_buffer", &ConvertBuffer, py::arg("buffer"),
             py::arg("unicode"), py::arg("complete") = false,
             "Converts the compound file held in a contiguous buffer: "
             "(text, 0, b'') or (None, code, message).");
  module.def("presentation_path", &ExtractPresentationPath, py::arg("path"),
             "The deck at a file-system-encoded path as JSON: (json, 0, b'') "
             "or (None, code, message).");
  module.def("presentation_buffer", &ExtractPresentationBuffer,
             py::arg("buffer"),
             "The deck held in a contiguous buffer as JSON: (json, 0, b'') "
             "or (None, code, message).");
  module.def("render_markdown", &RenderMarkdown, py::arg("slides"),
             "The command's Markdown of (number, title, text, notes) tuples, "
             "the strings as UTF-8 bytes.");
  module.def("probe_path", &ProbePath, py::arg("path"),
             "Whether the file at a file-system-encoded path can be "
             "converted.");
  module.def("probe_buffer", &ProbeBuffer, py::arg("buffer"),
             "Whether the compound file held in a buffer can be converted.");
  txtppt2::DefineFileTextBindings(module);
}
