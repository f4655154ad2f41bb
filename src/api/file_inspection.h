// InspectFile: what a file is, from its bytes alone (never its name), and
// what the converter should read of it. A presentation encrypted with RC4
// CryptoAPI is decrypted into memory with the password given (or the one
// PowerPoint uses for files protected against changes only); a damaged one
// is read as far as it survives; a PowerPoint 95 file gives the plain text
// it keeps. The exports know nothing of this: it is the command's, the
// Python module's and Dask's.
//
// Bounded like the converter: a file is read in place (its header,
// directory and document streams, not its pictures); a copy is made only
// to decrypt or to pad a cut-short file (at most eight times its size and
// 1 MiB more); every walk is linear in the file's size.
#ifndef TXTPPT2_API_FILE_INSPECTION_H_
#define TXTPPT2_API_FILE_INSPECTION_H_

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "api/file_status.h"
#include "api/isolated_conversion.h"  // Source

namespace txtppt2 {

struct FileInspection {
  FileVerdict verdict;
  // For format "ppt" with status kOk or kDamaged: the compound file to
  // convert. It points into the caller's memory source or into ownedImage;
  // empty when the file at the source's path is to be converted as it is.
  std::span<const uint8_t> image;
  std::vector<uint8_t> ownedImage;
  // For format "ppt95": the text of its Text_Content stream, and whether
  // the file was saved for PowerPoint 97 at the same time, with the 97 deck
  // in the storage PP97_DUALSTORAGE.
  std::u16string powerPoint95Text;
  bool holds97Deck = false;
  // For a damaged "ppt": what survives of its PowerPoint Document stream
  // (decrypted when it was encrypted).
  std::vector<uint8_t> survivingDocument;

  FileInspection() = default;
  FileInspection(FileInspection&&) = default;  // image stays valid
  FileInspection& operator=(FileInspection&&) = default;
};

// password: UTF-8 (invalid bytes become U+FFFD), used for an encrypted
// presentation only. A path is opened as it is (file system bytes).
FileInspection InspectFile(const Source& source,
                           const std::optional<std::string>& password);

}  // namespace txtppt2

#endif  // TXTPPT2_API_FILE_INSPECTION_H_
