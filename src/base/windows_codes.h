// The Windows codes the library speaks in, whichever host it runs on: error
// codes, the predefined registry keys and the registry's access rights. The
// host layer answers with them and the registry database keeps to them.
#pragma once

#include <cstdint>

namespace qstr::windows {

// ---- Error codes ----
inline constexpr int32_t kErrorSuccess = 0;
inline constexpr int32_t kErrorFileNotFound = 2;
inline constexpr int32_t kErrorAccessDenied = 5;
inline constexpr int32_t kErrorInvalidHandle = 6;
inline constexpr int32_t kErrorOutOfMemory = 14;
inline constexpr int32_t kErrorInvalidParameter = 87;
inline constexpr int32_t kErrorCallNotImplemented = 120;
inline constexpr int32_t kErrorMoreData = 234;
inline constexpr int32_t kErrorBadDb = 1009;       // the registry file does not parse
inline constexpr int32_t kErrorBadKey = 1010;
inline constexpr int32_t kErrorCantOpen = 1011;
inline constexpr int32_t kErrorRegistryIo = 1016;  // the registry file could not be read or saved
inline constexpr int32_t kErrorKeyDeleted = 1018;  // the handle's key is gone

// ---- Registry keys ----
using RegKey = std::uintptr_t;
inline constexpr RegKey kHkeyClassesRoot = 0x80000000u;
inline constexpr RegKey kHkeyCurrentUser = 0x80000001u;
inline constexpr RegKey kHkeyLocalMachine = 0x80000002u;
inline constexpr RegKey kHkeyUsers = 0x80000003u;
inline constexpr RegKey kHkeyPerformanceData = 0x80000004u;
inline constexpr RegKey kHkeyCurrentConfig = 0x80000005u;
inline constexpr RegKey kHkeyDynData = 0x80000006u;

// What creating a key did.
inline constexpr uint32_t kRegCreatedNewKey = 1;
inline constexpr uint32_t kRegOpenedExistingKey = 2;

// Access rights: the two the value operations check, and the generic
// rights with the specific ones they stand for.
inline constexpr uint32_t kKeyQueryValue = 0x0001;
inline constexpr uint32_t kKeySetValue = 0x0002;
inline constexpr uint32_t kGenericRead = 0x80000000u;
inline constexpr uint32_t kGenericWrite = 0x40000000u;
inline constexpr uint32_t kGenericAll = 0x10000000u;
inline constexpr uint32_t kMaximumAllowed = 0x02000000u;
inline constexpr uint32_t kKeyRead = 0x20019;
inline constexpr uint32_t kKeyWrite = 0x20006;
inline constexpr uint32_t kKeyAllAccess = 0xF003F;

}  // namespace qstr::windows
