// The messages of storage and stream failures, each written once; those
// other layers record too are in common/general_messages.h.
#ifndef TXTPPT2_STORAGE_STORAGE_MESSAGES_H_
#define TXTPPT2_STORAGE_STORAGE_MESSAGES_H_

namespace txtppt2::messages {

inline constexpr char kStreamNotFound[] =
    "The stream with the name specified does not exist";
inline constexpr char kPathNotFound[] = "The path specified does not exist";
inline constexpr char kTooManyOpenFiles[] = "Too many open files";
inline constexpr char kAccessDenied[] =
    "Access denied because the caller has insufficient permission, or "
    "another caller has the file open and locked";
inline constexpr char kShareViolation[] =
    "Access denied because another caller has the file open and locked";
inline constexpr char kOlderDll[] =
    "The DLL being used to open this storage object is a version of the DLL "
    "that is older than the one used to create it";
inline constexpr char kNotAStorage[] = "The file is not a storage object";
inline constexpr char kReverted[] =
    "The storage object has been invalidated by a revert operation above it "
    "in the transaction tree";
inline constexpr char kUnknownStorageError[] =
    "Can't open storage: unknown error";
inline constexpr char kReadError[] = "IStream read error";
inline constexpr char kSeekError[] = "IStream seek error";
inline constexpr char kNoStreamSize[] = "Can't determine stream size";

}  // namespace txtppt2::messages

#endif  // TXTPPT2_STORAGE_STORAGE_MESSAGES_H_
