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

constexpr size_t kCompoundFileSignatureSize = 8;

// True when bytes start with the compound file signature.
bool HasCompoundFileSignature(std::span<const uint8_t> bytes);

// A zip archive keeps its first local header at its start and the names of
// all its entries in its central directory at its end: the first and the
// last kSignatureWindow bytes of a file are what NonCompoundFormat reads.
constexpr size_t kSignatureWindow = 64 * 1024;

// The format of a file that is not a compound file: "empty", "pptx",
// "docx", "xlsx" (an Office Open XML package by its main part), "zip",
// "pdf" or "unknown". head holds the file's first bytes, tail its last
// (both at most kSignatureWindow; the same bytes for a small file).
std::string NonCompoundFormat(std::span<const uint8_t> head,
                              std::span<const uint8_t> tail);

}  // namespace txtppt2

#endif  // TXTPPT2_IDENTIFY_FILE_SIGNATURE_H_
