#include "controls/SystemUrlOpener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QUrl>
#include <utility>

#include "platform/DefaultBrowser.h"

namespace {

// The opener may start $BROWSER with the address as its argument, and a
// browser reads an argument that begins with '-' as one of its options
// (some of which run programs); such an address is never handed over.
bool ReadsAsOption(const std::string& url) {
    return !url.empty() && url.front() == '-';
}

// Where Qt asks the desktop portal, whose answer is the real outcome, rather
// than xdg-open; the same test as Qt's own.
bool InSandbox() {
    return QFileInfo::exists(QStringLiteral("/.flatpak-info")) || qEnvironmentVariableIsSet("SNAP");
}

// Runs xdg-open with the address as its one argument, never through a shell.
// Qt would start it detached and count it as having opened the address as
// soon as it runs; only its exit status says whether anything did ("no
// method available" is a failure too). Without a desktop it runs the browser
// itself until the browser ends, so it is watched from the event loop, never
// waited for, and left running when the program ends: it has no parent and
// deletes itself once it has ended.
void RunXdgOpen(const QString& program, const std::string& url, std::function<void(bool)> done) {
    auto* process = new QProcess;
    process->setProgram(program);
    process->setArguments({QString::fromStdString(url)});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    const auto settle = [process, done = std::move(done)](bool taken) {
        QObject::disconnect(process, nullptr, nullptr, nullptr);
        process->deleteLater();
        done(taken);
    };
    QObject::connect(process, &QProcess::finished, process,
                     [settle](int code, QProcess::ExitStatus status) {
                         settle(status == QProcess::NormalExit && code == 0);
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [settle](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             settle(false);
                         }
                     });
    process->start();
}

class DesktopServices final : public platform::UrlOpener {
public:
    void OpenWithDesktop(const std::string& url, std::function<void(bool)> done) override {
        if (ReadsAsOption(url)) {
            done(false);
            return;
        }
        // Qt's own order: the portal in a sandbox, else xdg-open where there
        // is one, else $BROWSER and the browsers it knows, started detached.
        const QString xdgOpen =
            InSandbox() ? QString() : QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (!xdgOpen.isEmpty()) {
            RunXdgOpen(xdgOpen, url, std::move(done));
            return;
        }
        done(QDesktopServices::openUrl(QUrl(QString::fromStdString(url))));
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
