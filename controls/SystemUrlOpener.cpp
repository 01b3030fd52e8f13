#include "controls/SystemUrlOpener.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "platform/DefaultBrowser.h"

namespace {

// The opener may start $BROWSER with the address as its argument, and a
// browser reads an argument that begins with '-' as one of its options
// (some of which run programs); such an address is never handed over.
bool ReadsAsOption(const std::string& url) {
    return !url.empty() && url.front() == '-';
}

class DesktopServices final : public platform::UrlOpener {
public:
    bool OpenWithDesktop(const std::string& url) override {
        return !ReadsAsOption(url) && QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
    }

    platform::BrowserLaunch StartDefaultBrowser(const std::string& url) override {
        if (ReadsAsOption(url)) {
            return {platform::BrowserLaunch::Outcome::NoBrowser};
        }
        return platform::StartDefaultBrowser(url);
    }
};

}  // namespace

platform::UrlOpener& SystemUrlOpener() {
    static DesktopServices services;
    return services;
}
