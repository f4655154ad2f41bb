// The type registry and the fixed answers the library gives about itself.
#ifndef TXTPPT2_INTERFACE_TYPE_REGISTRY_H_
#define TXTPPT2_INTERFACE_TYPE_REGISTRY_H_

#include <cstdint>

namespace txtppt2 {

// One block: "ppt" and its NUL, followed at once by the description and its
// NUL (the "®" is the Windows-1252 byte 0xAE). Lives as long as the library.
inline constexpr char kTypeRegistry[] =
    "ppt\0Microsoft\xAE PowerPoint Presentation (PPT)";
inline constexpr const char* kTypeName = kTypeRegistry;
inline constexpr const char* kTypeDescription = kTypeRegistry + 4;

inline constexpr char kDllInfo[] = "Tessellane Library v.040920";
// 40920, the digits that end the information text, above a low byte of 3.
inline constexpr int32_t kDllVersion = (40920 << 8) | 3;  // 10475523
inline constexpr int32_t kCompatibilityFlags = 0x2F;
inline constexpr int32_t kOptionFlags = 0;

// Whether type is "ppt", folding only the ASCII letters A-Z.
bool IsSupportedTypeName(const char* type);

}  // namespace txtppt2

#endif  // TXTPPT2_INTERFACE_TYPE_REGISTRY_H_
