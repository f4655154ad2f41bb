// The driver's own messages, each written once.
#ifndef TXTPPT2_DRIVER_DRIVER_MESSAGES_H_
#define TXTPPT2_DRIVER_DRIVER_MESSAGES_H_

namespace txtppt2::messages {

inline constexpr char kUnsupportedDataFormat[] = "Unsupported data format";
inline constexpr char kExceptionCaught[] = "Exception caught";

}  // namespace txtppt2::messages

#endif  // TXTPPT2_DRIVER_DRIVER_MESSAGES_H_
