// A click on a web link through the desktop's two services: the desktop's
// opener first, then the default browser; what each outcome shows, and that
// an address reaches them whole, whatever characters it holds.
#include <gtest/gtest.h>

// Before Qt: Qt's "signals" keyword would clash with a member of a GIO type.
#include <gio/gio.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "controls/CHyperLink.h"
#include "controls/SystemUrlOpener.h"
#include "support/DefaultBrowser.h"
#include "support/RecordingMessageSink.h"
#include "support/RecordingUrlOpener.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDir.h"

namespace {

using platform::BrowserLaunch;
using Outcome = BrowserLaunch::Outcome;
using Urls = std::vector<std::string>;

const std::string kUrl = "https://olvanta.example.org/";

std::string Message(const std::string& text) {
    return "Unable to open hyperlink:\n\n" + text;
}

class LinkOpeningTest : public ::testing::Test {
protected:
    LinkOpeningTest() {
        m_window.resize(400, 100);
        m_link = new CHyperLink(&m_window);  // owned by the window
        m_link->setGeometry(10, 10, 300, 30);
        m_link->setText(QStringLiteral("Olvanta"));
        m_link->SetOpener(m_opener);
        m_link->SetMessageSink(m_messages);
        m_link->SetBeep([this] { ++m_beeps; });
        m_link->PreSubclassWindow();
        m_window.show();
    }

    void Click() {
        const QPoint centre = m_link->rect().center();
        QMouseEvent press(QEvent::MouseButtonPress, centre, m_link->mapToGlobal(centre),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_link, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, centre, m_link->mapToGlobal(centre),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(m_link, &release);
    }

    QWidget m_window;
    CHyperLink* m_link = nullptr;
    RecordingUrlOpener m_opener;
    RecordingMessageSink m_messages;
    int m_beeps = 0;
};

TEST_F(LinkOpeningTest, EachOutcomeOfTheTwoServicesOpensOrIsReported) {
    struct Case {
        const char* name;
        bool desktopOpens;
        BrowserLaunch browser;
        std::string message;  // empty: opened, and the link shows as visited
    };
    const auto failed = [](GQuark domain, int code) {
        return BrowserLaunch{Outcome::Failed, domain, code};
    };
    const std::string notFound = Message("The specified file was not found.");
    const std::string denied =
        Message("The operating system denied\naccess to the specified file.");
    const std::string noMemory = Message("There was not enough memory to complete the operation.");
    const Case cases[] = {
        {"desktop_opens", true, {Outcome::Started}, ""},
        {"default_browser_starts", false, {Outcome::Started}, ""},
        {"no_default_browser", false, {Outcome::NoBrowser}, notFound},
        {"program_not_found", false, failed(G_SPAWN_ERROR, G_SPAWN_ERROR_NOENT), notFound},
        {"entry_not_found", false, failed(G_IO_ERROR, G_IO_ERROR_NOT_FOUND), notFound},
        {"access_denied", false, failed(G_SPAWN_ERROR, G_SPAWN_ERROR_ACCES), denied},
        {"not_permitted", false, failed(G_SPAWN_ERROR, G_SPAWN_ERROR_PERM), denied},
        {"io_permission_denied", false, failed(G_IO_ERROR, G_IO_ERROR_PERMISSION_DENIED), denied},
        {"out_of_memory", false, failed(G_SPAWN_ERROR, G_SPAWN_ERROR_NOMEM), noMemory},
        {"fork_failed", false, failed(G_SPAWN_ERROR, G_SPAWN_ERROR_FORK), noMemory},
        {"not_executable", false, failed(G_SPAWN_ERROR, G_SPAWN_ERROR_NOEXEC),
         Message("The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).")},
        // Any other error is unknown, with GLib's code, even where the value
        // is one of the codes with a text or one above 32.
        {"spawn_failed", false, failed(G_SPAWN_ERROR, G_SPAWN_ERROR_FAILED),
         Message("Unknown Error (" + std::to_string(G_SPAWN_ERROR_FAILED) + ") occurred.")},
        {"io_failed", false, failed(G_IO_ERROR, G_IO_ERROR_FAILED),
         Message("Unknown Error (0) occurred.")},
        {"io_error_above_32", false, failed(G_IO_ERROR, G_IO_ERROR_NO_SUCH_DEVICE),
         Message("Unknown Error (" + std::to_string(G_IO_ERROR_NO_SUCH_DEVICE) + ") occurred.")},
        {"other_domain", false, failed(G_SHELL_ERROR, G_SHELL_ERROR_BAD_QUOTING),
         Message("Unknown Error (" + std::to_string(G_SHELL_ERROR_BAD_QUOTING) + ") occurred.")},
    };
    ASSERT_GT(G_IO_ERROR_NO_SUCH_DEVICE, 32);
    m_link->SetTargetUrl(kUrl);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_opener = RecordingUrlOpener();
        Click();  // a failure must take back the visited colour of an earlier success
        ASSERT_TRUE(m_link->IsVisited());
        m_opener = RecordingUrlOpener();
        m_opener.desktopOpens = c.desktopOpens;
        m_opener.browser = c.browser;
        m_messages.Clear();
        m_beeps = 0;

        Click();
        EXPECT_EQ(m_opener.opened, Urls{kUrl});
        EXPECT_EQ(m_opener.started, c.desktopOpens ? Urls{} : Urls{kUrl});
        EXPECT_EQ(m_link->IsVisited(), c.message.empty());
        EXPECT_EQ(m_beeps, c.message.empty() ? 0 : 1);
        EXPECT_EQ(m_messages.Texts(), c.message.empty() ? Urls{} : Urls{c.message});
    }
}

// The desktop's own opener with no default browser behind it.
class DesktopOpenerAlone final : public platform::UrlOpener {
public:
    void OpenWithDesktop(const std::string& url, std::function<void(bool)> done) override {
        SystemUrlOpener().OpenWithDesktop(url, std::move(done));
    }
    BrowserLaunch StartDefaultBrowser(const std::string&) override { return {Outcome::NoBrowser}; }
};

TEST_F(LinkOpeningTest, XdgOpenThatRunsAndThenFindsNothingIsAFailedOpen) {
    // xdg-open on the PATH, which Qt would start detached and count as
    // opened; this one takes a moment and ends as xdg-open ends when no
    // method opens the address (3), or when one did (0).
    const TempDir home;
    ScopedEnvironment environment;
    const std::filesystem::path arguments = home.Path() / "arguments";
    const std::filesystem::path xdgOpen =
        home.Write("bin/xdg-open", "#!/bin/sh\nprintf '%s\\0' \"$@\" > '" + arguments.string() +
                                       "'\nsleep 0.2\nexit $OPENER_STATUS\n");
    std::filesystem::permissions(xdgOpen, std::filesystem::perms::owner_all);
    environment.Set("PATH", xdgOpen.parent_path().string() + ":" + std::getenv("PATH"));
    DesktopOpenerAlone opener;
    m_link->SetOpener(opener);
    m_link->SetTargetUrl(kUrl);

    struct Case {
        const char* status;
        bool visited;
        Urls messages;
    };
    const Case cases[] = {
        {"3", false, {Message("The specified file was not found.")}},
        {"0", true, {}},
        {"3", false, {Message("The specified file was not found.")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        environment.Set("OPENER_STATUS", c.status);
        std::filesystem::remove(arguments);
        m_messages.Clear();
        m_beeps = 0;
        Click();
        // The window goes on while xdg-open runs.
        EXPECT_TRUE(m_messages.Texts().empty());
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return c.visited ? m_link->IsVisited() : !m_messages.Texts().empty(); }, 10'000));
        QTest::qWait(100);  // the outcome shows once; nothing more comes
        EXPECT_EQ(m_link->IsVisited(), c.visited);
        EXPECT_EQ(m_messages.Texts(), c.messages);
        EXPECT_EQ(m_beeps, c.messages.empty() ? 0 : 1);
        std::ifstream in(arguments, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), kUrl + '\0');
    }
}

// A browser whose desktop entry is the desktop's default: it writes the
// arguments it is started with, each ended by a NUL, to `arguments`.
struct RecordingBrowser {
    explicit RecordingBrowser(const TempDir& home) : arguments(home.Path() / "arguments") {
        InstallDefaultBrowser(home, environment,
                              "#!/bin/sh\nfor argument do printf '%s\\0' \"$argument\"; done > '" +
                                  arguments.string() + ".part'\nmv '" + arguments.string() +
                                  ".part' '" + arguments.string() + "'\n");
    }

    // The arguments it was started with; none when it has not been started.
    std::vector<std::string> Arguments() const {
        std::vector<std::string> found;
        std::ifstream in(arguments, std::ios::binary);
        for (std::string argument; std::getline(in, argument, '\0');) {
            found.push_back(argument);
        }
        return found;
    }

    std::filesystem::path arguments;
    ScopedEnvironment environment;
};

TEST_F(LinkOpeningTest, AnAddressReachesTheServicesWholeAsOneArgument) {
    const std::string hostile =
        "https://e.example/?a=1;touch /tmp/olvanta-pwned&b=$(id)`id`|cat>x\n\r\"q\" 's' \\ %u";
    const std::string optionLike = "--renderer-cmd-prefix=/bin/sh";
    const std::string longUrl = kUrl + std::string(10'000, 'q');
    for (const std::string& url : {hostile, optionLike, longUrl}) {
        m_opener = RecordingUrlOpener();
        m_opener.desktopOpens = false;
        m_link->SetTargetUrl(url);
        Click();
        EXPECT_EQ(m_opener.opened, Urls{url});
        EXPECT_EQ(m_opener.started, Urls{url});
    }

    // The real default browser gets the address as one argument of its own,
    // and never one that it would read as an option.
    const TempDir home;
    const RecordingBrowser browser(home);
    EXPECT_EQ(SystemUrlOpener().StartDefaultBrowser(optionLike).outcome, Outcome::NoBrowser);
    bool taken = true;
    SystemUrlOpener().OpenWithDesktop(optionLike, [&taken](bool opened) { taken = opened; });
    EXPECT_FALSE(taken);
    ASSERT_EQ(SystemUrlOpener().StartDefaultBrowser(hostile).outcome, Outcome::Started);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !browser.Arguments().empty(); }, 10'000));
    EXPECT_EQ(browser.Arguments(), Urls{hostile});
}

}  // namespace
