// The extension's calls that classify a file and read it whatever it
// turns out to be (encrypted, PowerPoint 95, damaged): see
// file_text_binding.cpp.
#ifndef TXTPPT2_PYTHON_FILE_TEXT_BINDING_H_
#define TXTPPT2_PYTHON_FILE_TEXT_BINDING_H_

#include <pybind11/pybind11.h>

namespace txtppt2 {

void DefineFileTextBindings(pybind11::module_& module);

}  // namespace txtppt2

#endif  // TXTPPT2_PYTHON_FILE_TEXT_BINDING_H_
