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
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
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
    EXPECT_FALSE(SystemUrlOpener().OpenWithDesktop(optionLike));
    ASSERT_EQ(SystemUrlOpener().StartDefaultBrowser(hostile).outcome, Outcome::Started);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !browser.Arguments().empty(); }, 10'000));
    EXPECT_EQ(browser.Arguments(), Urls{hostile});
}

}  // namespace
