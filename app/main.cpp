// Olvanta's start-up until the window exists: loads the catalogue from beside
// the executable and reports a data file that cannot be read.
#include <cstdio>
#include <exception>

#include "catalogue/LoadCatalogue.h"
#include "platform/ExecutablePath.h"
#include "timecalc/UiStringTable.h"

int main() {
    try {
        Catalogue zones;
        const LoadOutcome outcome =
            LoadCatalogue(zones, CatalogueFiles::InDirectory(platform::ExecutableDirectory()));
        if (outcome != LoadOutcome::Loaded) {
            const UiString message = outcome == LoadOutcome::ZoneFileUnreadable
                                         ? UiString::TimezonesDataError
                                         : UiString::LocationsDataError;
            std::fprintf(stderr, "%s\n", UiText(message).c_str());
            return 1;
        }
        std::printf("Olvanta: %zu zones loaded; the window is not built yet.\n", zones.Size());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "olvanta: %s\n", error.what());
        return 1;
    }
}
