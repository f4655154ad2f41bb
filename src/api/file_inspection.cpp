#include "api/file_inspection.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "identify/compound_file_access.h"
#include "identify/document_structure.h"
#include "identify/file_signature.h"
#include "identify/input_bytes.h"
#include "identify/powerpoint95_text.h"
#include "identify/presentation_decryption.h"
#include "identify/utf8_to_utf16.h"

namespace txtppt2 {
namespace {

constexpr char16_t kDocumentStreamName[] = u"PowerPoint Document";
constexpr char16_t kCurrentUserStreamName[] = u"Current User";

FileVerdict Verdict(FileStatus status, std::string format, std::string error) {
  FileVerdict verdict;
  verdict.status = status;
  verdict.format = std::move(format);
  verdict.error = std::move(error);
  return verdict;
}

FileVerdict Unreadable(int error) {
  FileVerdict verdict =
      Verdict(FileStatus::kUnreadable, "", std::strerror(error));
  verdict.osError = error;
  return verdict;
}

std::string OtherFormatMessage(const std::string& format) {
  static const std::pair<const char*, const char*> kDescriptions[] = {
      {"pptx", "a PowerPoint 2007 or later (.pptx) presentation"},
      {"docx", "a Word 2007 or later (.docx) document"},
      {"xlsx", "an Excel 2007 or later (.xlsx) workbook"},
      {"ooxml-encrypted", "an encrypted Office 2007 or later file"},
      {"doc", "a Word 97-2003 document"},
      {"xls", "an Excel 97-2003 workbook"},
      {"msg", "an Outlook message"},
      {"pdf", "a PDF document"},
      {"zip", "a zip archive"},
      {"ole", "a compound file of another program"},
      {"empty", "an empty file"},
  };
  for (const auto& [name, description] : kDescriptions)
    if (format == name)
      return std::string("not a PowerPoint 97-2003 presentation but ") +
             description;
  return "not a PowerPoint 97-2003 presentation, nor a format txtppt2 knows";
}

FileVerdict OtherFormat(std::string format) {
  std::string message = OtherFormatMessage(format);
  return Verdict(FileStatus::kOtherFormat, std::move(format),
                 std::move(message));
}

// A compound file without a PowerPoint 97-2003 document: what its root
// streams say it is.
FileVerdict CompoundFileWithoutPresentation(OpenedCompoundFile& opened) {
  CompoundFile& file = *opened.file;
  auto has = [&](std::u16string_view name) {
    return file.FindRootStream(name).has_value();
  };
  if (has(u"PP40"))
    return Verdict(FileStatus::kOldFormat, "ppt4",
                   "a PowerPoint 4.0 or older presentation, which txtppt2 "
                   "cannot read");
  if (has(u"EncryptionInfo") && has(u"EncryptedPackage"))
    return OtherFormat("ooxml-encrypted");
  if (has(u"WordDocument")) return OtherFormat("doc");
  if (has(u"Workbook") || has(u"Book")) return OtherFormat("xls");
  if (has(u"__properties_version1.0")) return OtherFormat("msg");
  return OtherFormat("ole");
}

class Inspector {
 public:
  Inspector(FileInspection* inspection_, const InputBytes& input_,
            const std::optional<std::string>& password_)
      : inspection(*inspection_), input(input_), password(password_) {}

  void Inspect() {
    inspection.image = input.Memory();
    // The signature first: a compound file is read by its reader alone.
    std::vector<uint8_t> head(kCompoundFileSignatureSize);
    head.resize(input.ReadAt(0, head.data(), head.size()));
    if (!HasCompoundFileSignature(head)) {
      head.resize(std::min<uint64_t>(input.Size(), kSignatureWindow));
      head.resize(input.ReadAt(0, head.data(), head.size()));
      std::vector<uint8_t> tail(head.size());
      tail.resize(
          input.ReadAt(input.Size() - tail.size(), tail.data(), tail.size()));
      inspection.verdict = OtherFormat(NonCompoundFormat(head, tail));
      return;
    }
    std::optional<OpenedCompoundFile> opened =
        OpenCompoundFile([this] { return input.NewSource(); });
    if (!opened) {
      inspection.verdict =
          Verdict(FileStatus::kDamaged, "ole",
                  "damaged file: its compound file structure is broken");
      return;
    }
    std::optional<RootStream> document =
        ReadRootStream(*opened, kDocumentStreamName);
    std::optional<RootStream> currentUserStream =
        ReadRootStream(*opened, kCurrentUserStreamName);
    std::optional<CurrentUser> currentUser =
        currentUserStream ? CurrentUser::Parse(currentUserStream->bytes)
                          : std::nullopt;
    if (document && currentUser) {
      InspectPresentation(*opened, std::move(*document), *currentUser,
                          *currentUserStream);
      return;
    }
    if (std::optional<RootStream> text =
            ReadRootStream(*opened, u"Text_Content")) {
      inspection.powerPoint95Text = PowerPoint95Text(text->bytes);
      CompoundFile& file = *opened->file;
      std::optional<uint32_t> dual =
          file.FindChildOf(0, u"PP97_DUALSTORAGE", kStorageObject);
      inspection.holds97Deck =
          dual &&
          file.FindChildOf(*dual, kDocumentStreamName, kStreamObject).has_value();
      inspection.verdict =
          text->whole && !opened->cutShort
              ? Verdict(FileStatus::kOk, "ppt95", "")
              : Verdict(FileStatus::kDamaged, "ppt95",
                        "damaged presentation: its text is cut short");
      return;
    }
    if (document) {
      // No user edit to follow: the converter walks the whole stream, which
      // must then at least be whole and made of whole records.
      if (!opened->cutShort && document->whole &&
          RecordsTileStream(document->bytes)) {
        inspection.verdict = Verdict(FileStatus::kOk, "ppt", "");
        return;
      }
      if (opened->cutShort) OwnImage(opened->file->Source().Size());
      return Damaged(opened->cutShort || !document->whole
                         ? "the file is cut short"
                         : "its Current User stream is missing or broken, "
                           "and its records do not fill its document stream",
                     std::move(document->bytes));
    }
    inspection.verdict = CompoundFileWithoutPresentation(*opened);
    // Whatever it was, what it held may be lost with its end.
    if (opened->cutShort && inspection.verdict.format == "ole")
      inspection.verdict =
          Verdict(FileStatus::kDamaged, "ole", "damaged file: it is cut short");
  }

 private:
  void Damaged(const std::string& problem,
               std::vector<uint8_t> survivingDocument) {
    inspection.verdict = Verdict(FileStatus::kDamaged, "ppt",
                                 "damaged presentation: " + problem);
    inspection.survivingDocument = std::move(survivingDocument);
  }

  // The image becomes a copy of the whole input that the caller may
  // change, padded with zeros to size.
  std::span<uint8_t> OwnImage(uint64_t size) {
    if (inspection.ownedImage.empty() && !input.CopyAll(&inspection.ownedImage))
      inspection.ownedImage.clear();  // cut short while it was read: zeros
    if (inspection.ownedImage.size() < size) inspection.ownedImage.resize(size);
    inspection.image = inspection.ownedImage;
    return inspection.ownedImage;
  }

  void InspectPresentation(OpenedCompoundFile& opened, RootStream document,
                           const CurrentUser& currentUser,
                           RootStream& currentUserStream) {
    // A cut-short file is converted as its reader saw it: padded with zeros.
    if (opened.cutShort) OwnImage(opened.file->Source().Size());
    std::string problem;
    std::optional<DocumentStructure> structure =
        ReadDocumentStructure(currentUser, document.bytes, &problem);
    if (currentUser.encrypted) {
      if (!structure) return Damaged(problem, {});
      if (!Decrypt(*structure, document, currentUserStream, opened)) return;
    }
    if (opened.cutShort || !document.whole)
      return Damaged("the file is cut short", std::move(document.bytes));
    if (!structure) return Damaged(problem, std::move(document.bytes));
    if (!PersistObjectsFit(*structure, document.bytes, &problem))
      return Damaged(problem, std::move(document.bytes));
    inspection.verdict = Verdict(FileStatus::kOk, "ppt", "");
  }

  // Decrypts the document in place and into a copy of the image; false
  // (with the verdict set) when the password is wrong or the encryption
  // unknown.
  bool Decrypt(const DocumentStructure& structure, RootStream& document,
               RootStream& currentUserStream, OpenedCompoundFile& opened) {
    const std::u16string given =
        password ? Utf8ToUtf16(*password) : std::u16string(kReadOnlyPassword);
    switch (DecryptPresentation(structure, document.bytes, given)) {
      case DecryptionOutcome::kDecrypted:
        break;
      case DecryptionOutcome::kWrongPassword:
        inspection.verdict =
            Verdict(FileStatus::kEncrypted, "ppt",
                    password ? "wrong password" : "encrypted presentation");
        return false;
      case DecryptionOutcome::kUnsupported:
        inspection.verdict =
            Verdict(FileStatus::kEncrypted, "ppt",
                    "encrypted with a method txtppt2 cannot read");
        return false;
      case DecryptionOutcome::kUnavailable:
        inspection.verdict =
            Verdict(FileStatus::kEncrypted, "ppt",
                    "encrypted presentation, and this txtppt2 was built "
                    "without a cipher library (Nettle)");
        return false;
    }
    std::span<uint8_t> image = OwnImage(opened.file->Source().Size());
    WriteRootStream(document.layout, document.bytes, image);
    // The Current User stream then says the document is in the clear.
    for (size_t i = 0; i < 4; ++i)
      currentUserStream.bytes[kHeaderTokenOffset + i] =
          static_cast<uint8_t>(kPlainHeaderToken >> (8 * i));
    WriteRootStream(currentUserStream.layout, currentUserStream.bytes, image);
    return true;
  }

  FileInspection& inspection;
  const InputBytes& input;
  const std::optional<std::string>& password;
};

}  // namespace

FileInspection InspectFile(const Source& source,
                           const std::optional<std::string>& password) {
  FileInspection inspection;
  std::unique_ptr<InputBytes> input;
  if (const auto* memory = std::get_if<MemorySource>(&source)) {
    input = std::make_unique<InputBytes>(
        std::span<const uint8_t>(memory->data, memory->size));
  } else {
    int error = 0;
    input = InputBytes::Open(std::get<PathSource>(source).path, &error);
    if (!input) {
      inspection.verdict = Unreadable(error);
      return inspection;
    }
  }
  Inspector(&inspection, *input, password).Inspect();
  // A pipe's bytes live in the input: they are kept as the image.
  if (!inspection.image.empty() && inspection.ownedImage.empty() &&
      std::holds_alternative<PathSource>(source)) {
    inspection.ownedImage.assign(inspection.image.begin(),
                                 inspection.image.end());
    inspection.image = inspection.ownedImage;
  }
  return inspection;
}

}  // namespace txtppt2
