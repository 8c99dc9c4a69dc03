#include "core/Imports.h"

#include "platform/NullServices.h"

#define TAVI_EXPORT __attribute__((visibility("default")))

extern "C" {
TAVI_EXPORT tavi::platform::ImportEntry ImportTable[] = {
    {tavi::platform::kPanelServicesImport, nullptr},
    {tavi::platform::kHostServicesImport, nullptr},
    {tavi::platform::kSimConnectImport, nullptr},
    {0, nullptr},
};
}

namespace tavi {

namespace {

template <typename Table>
Table* importedTable(int32_t id) {
    for (const platform::ImportEntry* entry = ImportTable; entry->id != 0; ++entry) {
        if (entry->id == id) {
            return static_cast<Table*>(entry->table);
        }
    }
    return nullptr;
}

} // namespace

platform::PanelServices& panelServices() {
    auto* table = importedTable<platform::PanelServices>(platform::kPanelServicesImport);
    return table ? *table : platform::nullPanelServices();
}

platform::HostServices& hostServices() {
    auto* table = importedTable<platform::HostServices>(platform::kHostServicesImport);
    return table ? *table : platform::nullHostServices();
}

platform::SimConnect& simConnectServices() {
    auto* table = importedTable<platform::SimConnect>(platform::kSimConnectImport);
    return table ? *table : platform::nullSimConnect();
}

} // namespace tavi
