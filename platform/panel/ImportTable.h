#pragma once

#include <cstdint>

namespace tavi::platform {

// One entry of the module's import table: the host writes the address of the service table
// whose id the entry names. An entry with id 0 ends the table.
struct ImportEntry {
    int32_t id;
    void* table;
};

inline constexpr int32_t kPanelServicesImport = 0x0F;
inline constexpr int32_t kHostServicesImport = 0x7401;
inline constexpr int32_t kSimConnectImport = 0x7402;

struct GaugeHeader;

inline constexpr int kGaugeCount = 32;

// What the module tells the host about itself: its start and stop routines and its gauges.
struct ModuleLinkage {
    int32_t moduleId;
    void (*moduleInit)();
    void (*moduleDeinit)();
    uint32_t flags;
    uint32_t status;
    uint32_t moduleVersion;
    GaugeHeader* gauges[kGaugeCount + 1];
};

inline constexpr int32_t kModuleLinkageId = 0x13;
inline constexpr uint32_t kModuleVersion = 0x900;

} // namespace tavi::platform
