// A click on a web link, through the desktop's real opening rules (only the
// processes are stood in for), with addresses and browser entries that could
// go wrong: an address is never cut, split or read by a shell, and what
// cannot be opened is reported with a beep and the message for its code.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/CHyperLink.h"
#include "platform/DesktopUrlOpener.h"
#include "platform/OpenResult.h"
#include "support/FakeProcessLauncher.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace {

using platform::LaunchRequest;
using platform::LaunchResult;
using Arguments = std::vector<std::string>;
using namespace std::string_literals;

const std::string kNotEnoughMemory =
    "Unable to open hyperlink:\n\nThere was not enough memory to complete the operation.";
const std::string kNoAssociation =
    "Unable to open hyperlink:\n\nThere is no application associated\nwith the given filename "
    "extension.";
const std::string kFileNotFound = "Unable to open hyperlink:\n\nThe specified file was not found.";

struct Case {
    const char* name;
    std::string url;
    LaunchResult opener;               // what xdg-open does
    std::optional<std::string> entry;  // the browser's desktop entry; none: not installed
    std::optional<Arguments> started;  // the browser's arguments; none: it is not started
    std::string message;               // empty: the link counts as visited
};

class LinkRobustnessTest : public ::testing::Test {
protected:
    // Clicks a link to `c.url` on a desktop whose default browser has the
    // entry `c.entry`, and records what was started.
    void Click(const Case& c) {
        TempDir desktop;
        desktop.Write("config/mimeapps.list",
                      "[Default Applications]\nx-scheme-handler/https=web.desktop\n");
        if (c.entry) {
            desktop.Write("share/applications/web.desktop", *c.entry);
        }
        platform::DesktopOpenerSettings settings;
        settings.directories.configHome = desktop.Path() / "config";
        settings.directories.dataHome = desktop.Path() / "home-share";
        settings.directories.dataDirs = {desktop.Path() / "share"};
        FakeProcessLauncher launcher([&c](const LaunchRequest& request) {
            return request.arguments.front() == "xdg-open" ? c.opener
                                                           : FakeProcessLauncher::Running();
        });
        platform::DesktopUrlOpener opener(launcher, settings);

        QWidget window;
        window.resize(400, 100);
        auto* link = new CHyperLink(&window);  // owned by the window
        link->setGeometry(10, 10, 300, 30);
        link->setText(QStringLiteral("Olvanta"));
        link->SetTargetUrl(c.url);
        link->SetOpener(opener);
        link->SetMessageSink(m_messages);
        link->SetBeep([this] { ++m_beeps; });
        link->PreSubclassWindow();
        window.show();

        const QPoint centre = link->rect().center();
        QMouseEvent press(QEvent::MouseButtonPress, centre, link->mapToGlobal(centre),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(link, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, centre, link->mapToGlobal(centre),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(link, &release);
        m_visited = link->IsVisited();

        m_requests = launcher.Requests();
    }

    std::vector<LaunchRequest> Starts(const std::string& program) const {
        std::vector<LaunchRequest> found;
        for (const LaunchRequest& request : m_requests) {
            const bool isDesktopTool =
                request.arguments.front() == "xdg-open" || request.arguments.front() == "xdg-mime";
            if ((program.empty() && !isDesktopTool) || request.arguments.front() == program) {
                found.push_back(request);
            }
        }
        return found;
    }

    RecordingMessageSink m_messages;
    int m_beeps = 0;
    bool m_visited = false;
    std::vector<LaunchRequest> m_requests;
};

std::string Entry(const std::string& execLine) {
    return "[Desktop Entry]\nType=Application\nName=Web\n" + execLine + "\n";
}

TEST_F(LinkRobustnessTest, EveryAddressAndBrowserEntryEndsOpenedOrReported) {
    const std::string longUrl = "https://olvanta.example.org/" + std::string(10'000, 'q');
    const std::string hostile =
        "https://e.example/?a=1;touch /tmp/olvanta-pwned&b=$(id)`id`|cat>x\n\r\"q\" 's' \\ %u";
    const LaunchResult noHandler = FakeProcessLauncher::Exited(4);
    const Case cases[] = {
        {"ten_thousand_characters_opened_by_the_desktop", longUrl, FakeProcessLauncher::Exited(0),
         Entry("Exec=web %u"), std::nullopt, ""},
        // The fallback would need a command line longer than a browser
        // command may be.
        {"ten_thousand_characters_for_the_fallback", longUrl, noHandler, Entry("Exec=web %u"),
         std::nullopt, kNotEnoughMemory},
        {"shell_characters_and_line_breaks", hostile, noHandler, Entry("Exec=web --new-window %u"),
         Arguments{"web", "--new-window", hostile}, ""},
        {"exec_line_missing", "https://olvanta.example.org/", noHandler, Entry("Name=Only"),
         std::nullopt, kNoAssociation},
        {"exec_line_empty", "https://olvanta.example.org/", noHandler, Entry("Exec="), std::nullopt,
         kNoAssociation},
        {"exec_line_quote_left_open", "https://olvanta.example.org/", noHandler,
         Entry("Exec=\"web --new-window %u"), std::nullopt, kNoAssociation},
        {"exec_line_empty_program", "https://olvanta.example.org/", noHandler,
         Entry("Exec=\"\" %u"), std::nullopt, kNoAssociation},
        {"exec_line_unknown_field_code", "https://olvanta.example.org/", noHandler,
         Entry("Exec=web %z %u"), std::nullopt, kNoAssociation},
        {"entry_not_a_desktop_entry", "https://olvanta.example.org/", noHandler,
         "\x7F"
         "ELF\0\0\0\1Exec=web %u\n"s,
         std::nullopt, kNoAssociation},
        {"no_browser_and_no_opener", "https://olvanta.example.org/",
         FakeProcessLauncher::NotFound(), std::nullopt, std::nullopt, kFileNotFound},
        // A browser would read it as one of its options.
        {"address_like_an_option", "--renderer-cmd-prefix=/bin/sh", noHandler, Entry("Exec=web %u"),
         std::nullopt, kNoAssociation},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_messages.Clear();
        m_beeps = 0;
        Click(c);
        // The desktop's opener always gets the address whole, as one argument.
        const std::vector<LaunchRequest> openers = Starts("xdg-open");
        ASSERT_EQ(openers.size(), 1u);
        EXPECT_EQ(openers[0].arguments, (Arguments{"xdg-open", c.url}));
        const std::vector<LaunchRequest> browsers = Starts("");
        if (c.started) {
            ASSERT_EQ(browsers.size(), 1u);
            EXPECT_EQ(browsers[0].arguments, *c.started);
        } else {
            EXPECT_TRUE(browsers.empty());
        }
        EXPECT_EQ(m_visited, c.message.empty());
        EXPECT_EQ(m_beeps, c.message.empty() ? 0 : 1);
        EXPECT_EQ(m_messages.Texts(),
                  c.message.empty() ? std::vector<std::string>{} : std::vector{c.message});
    }
}

}  // namespace
