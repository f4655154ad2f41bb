// The messages that more than one layer records, each written once: the
// storage layer maps system failures to them, and the driver and the error
// record report them themselves.
#ifndef TXTPPT2_COMMON_GENERAL_MESSAGES_H_
#define TXTPPT2_COMMON_GENERAL_MESSAGES_H_

namespace txtppt2::messages {

// Reported with txtppt2_error_in_parameters for a narrow path (recorded
// with code 0), and with txtppt2_conversion_failed for a storage call
// that refuses its arguments.
inline constexpr char kErrorInParameters[] = "Error in parameters";
inline constexpr char kOutOfMemory[] = "Out of memory";

}  // namespace txtppt2::messages

#endif  // TXTPPT2_COMMON_GENERAL_MESSAGES_H_
