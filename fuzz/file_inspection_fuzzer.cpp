// The file classification over arbitrary bytes, then the text it gives in
// both widths, once without a password and once with one (which decrypts a
// mutated encrypted deck whose verifier survived). Bytes in memory are never
// "unreadable"; every verdict has a format and, unless ok, an error; the
// classification does not depend on the password unless the file is
// encrypted, nor on the text's width; a padded or decrypted image stays
// within its bounds; and no text outgrows what the input could make.
#include <cstdint>
#include <optional>
#include <string>

#include "api/file_text.h"
#include "fuzz_check.h"
#include "identify/salvaged_text.h"

namespace {

using txtppt2::FileStatus;
using txtppt2::fuzz::Require;

bool SameVerdict(const txtppt2::FileVerdict& a, const txtppt2::FileVerdict& b) {
  return a.status == b.status && a.format == b.format && a.error == b.error;
}

void CheckVerdict(const txtppt2::FileVerdict& verdict) {
  Require(verdict.status != FileStatus::kUnreadable,
          "bytes in memory were unreadable");
  Require(!verdict.format.empty(), "a verdict without a format");
  Require(verdict.error.empty() == (verdict.status == FileStatus::kOk),
          "an error on an ok file, or none on another");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > UINT32_MAX / 16) return 0;
  const txtppt2::MemorySource source{data, static_cast<uint32_t>(size)};
  const uint64_t imageLimit = 8 * uint64_t{size} + (1u << 20);

  txtppt2::FileInspection plain = txtppt2::InspectFile(source, std::nullopt);
  CheckVerdict(plain.verdict);
  Require(plain.image.size() <= imageLimit, "the image outgrew its bound");
  Require(plain.powerPoint95Text.size() <= 2 * size + 2,
          "PowerPoint 95 text outgrew its stream");
  Require(plain.survivingDocument.size() <= imageLimit,
          "the surviving stream outgrew the image");
  Require(txtppt2::SalvagedText(plain.survivingDocument).size() <=
              2 * plain.survivingDocument.size(),
          "salvaged text outgrew its stream");

  // The text once in each width, the second with a password: unless the
  // file is encrypted, the password changes nothing, and neither does the
  // width.
  txtppt2::FileText wide = txtppt2::ExtractFileText(
      source, txtppt2::kUnicode, txtppt2::kExactText, std::nullopt);
  txtppt2::FileText narrow = txtppt2::ExtractFileText(
      source, txtppt2::kPureText, txtppt2::kExactText, "hello");
  for (const txtppt2::FileText* text : {&wide, &narrow}) {
    CheckVerdict(text->verdict);
    const size_t width = text == &wide ? 2 : 1;
    Require(text->text.size() % width == 0, "the text is not whole units");
    Require(text->text.size() / width <= 4 * imageLimit + 64,
            "the text is larger than the input could make");
    Require(text->verdict.status == FileStatus::kOk ||
                text->verdict.status == FileStatus::kDamaged ||
                text->text.empty(),
            "a file that is neither ok nor damaged gave text");
  }
  // The converter may find a sound-looking deck unreadable: the verdict
  // then turns damaged, never anything else.
  Require(SameVerdict(wide.verdict, plain.verdict) ||
              (plain.verdict.status == FileStatus::kOk &&
               wide.verdict.status == FileStatus::kDamaged),
          "converting changed the verdict");
  Require(SameVerdict(wide.verdict, narrow.verdict) ||
              plain.verdict.status == FileStatus::kEncrypted,
          "a password or the width changed the verdict of a file not "
          "encrypted");
  return 0;
}
