// Renders the main window with the shipped data (beside this program) to a
// PNG, offscreen, for the README: olvanta-screenshot WINDOW.png [ABOUT.png]
// renders the About box as well. The places shown are
// Berlin and New York at 09:30 on 7 December 2026; settings go to a
// temporary directory, never to the user's own.
#include <QApplication>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/COlvantaDlg.h"
#include "app/settings/Settings.h"
#include "controls/CAboutDlg.h"
#include "controls/MessageBoxSink.h"
#include "platform/ExecutablePath.h"

namespace {

class FixedClock : public platform::Clock {
public:
    platform::TimePoint Now() const override {
        // 2026-12-07T08:30:00Z, 09:30 in Berlin
        return platform::TimePoint(std::chrono::seconds(1796632200));
    }
};

std::filesystem::path TemporaryDirectory() {
    std::string pattern = std::filesystem::temp_directory_path() / "olvanta-shot-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary directory");
    }
    return pattern;
}

Catalogue& LoadedCatalogue(const std::filesystem::path& data) {
    static Catalogue zones;
    LoadCatalogue(zones, CatalogueFiles::InDirectory(data));
    return zones;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: olvanta-screenshot WINDOW.png [ABOUT.png]\n");
        return 2;
    }
    QApplication application(argc, argv);
    const std::filesystem::path data = platform::ExecutableDirectory();
    const std::filesystem::path config = TemporaryDirectory();
    const FixedClock clock;
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    const DialogEnvironment environment{data, clock, MessageBoxSink::Instance()};
    int status = 1;
    {
        COlvantaDlg window(environment);
        if (window.CatalogueLoaded()) {
            // An empty store takes the remembered positions as they stand.
            const PlaceList places = PlaceList::FromCatalogue(LoadedCatalogue(data));
            g_baseLocation = places.FindExact(u"Berlin");
            g_remoteLocation = places.FindExact(u"New York");
            window.OnInitDialog();
            window.show();
            QApplication::processEvents();
            status = window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
            if (argc > 2) {
                CAboutDlg about(&window);
                about.show();
                QApplication::processEvents();
                status |= about.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
            }
            window.hide();
        }
    }
    std::filesystem::remove_all(config);
    return status;
}
