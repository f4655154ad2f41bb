// What a file's first bytes say it is, before any compound file is read:
// a compound file, an Office Open XML package or another zip archive, a
// PDF, nothing at all, or something unknown. Names come from the bytes,
// never from the file's name.
#ifndef TXTPPT2_IDENTIFY_FILE_SIGNATURE_H_
#define TXTPPT2_IDENTIFY_FILE_SIGNATURE_H_

#include <cstdint>
#include <span>
#include <string>

namespace txtppt2 {

// True when bytes start with the compound file signature.
bool HasCompoundFileSignature(std::span<const uint8_t> bytes);

// The format of a file that is not a compound file: "empty", "pptx",
// "docx", "xlsx" (an Office Open XML package by its main part), "zip",
// "pdf" or "unknown". Looks at the first and the last 64 KiB only, where
// a zip archive keeps its local headers and its central directory.
std::string NonCompoundFormat(std::span<const uint8_t> bytes);

}  // namespace txtppt2

#endif  // TXTPPT2_IDENTIFY_FILE_SIGNATURE_H_
