#include "platform/DesktopUrlOpener.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>

#include "platform/OpenResult.h"
#include "support/FakeProcessLauncher.h"
#include "support/TempDir.h"

namespace {

using platform::DesktopOpenerSettings;
using platform::DesktopUrlOpener;
using platform::LaunchRequest;
using platform::LaunchResult;
using Arguments = std::vector<std::string>;
namespace open_result = platform::open_result;

const std::string kUrl = "https://olvanta.example.org/";

// A desktop in a temporary directory: its per-user and system application
// directories and config directory, and what xdg-open and xdg-mime answer.
class FakeDesktop {
public:
    FakeDesktop() : m_launcher([this](const LaunchRequest& request) { return Answer(request); }) {
        m_settings.directories.configHome = m_dir.Path() / "config";
        m_settings.directories.dataHome = m_dir.Path() / "home-share";
        m_settings.directories.dataDirs = {m_dir.Path() / "usr-share"};
    }

    void AddEntry(const std::string& relativePath, const std::string& text,
                  const char* base = "usr-share") {
        m_dir.Write(std::string(base) + "/applications/" + relativePath, text);
    }
    void AddBrowser(const std::string& id, const std::string& exec) {
        AddEntry(id, "[Desktop Entry]\nType=Application\nName=Browser\nExec=" + exec + "\n");
    }
    void WriteMimeApps(const std::string& text) { m_dir.Write("config/mimeapps.list", text); }

    LaunchResult opener = FakeProcessLauncher::Exited(4);
    std::map<std::string, LaunchResult> mimeAnswers;  // absent: xdg-mime is missing
    LaunchResult browser = FakeProcessLauncher::Running();

    int Open(const std::string& url) {
        DesktopUrlOpener urlOpener(m_launcher, m_settings);
        return urlOpener.OpenUrl(url);
    }
    std::optional<platform::BrowserEntry> DefaultBrowser() {
        DesktopUrlOpener urlOpener(m_launcher, m_settings);
        return urlOpener.FindDefaultBrowser();
    }
    const FakeProcessLauncher& Launcher() const { return m_launcher; }
    std::vector<LaunchRequest> BrowserStarts() const {
        std::vector<LaunchRequest> starts;
        for (const LaunchRequest& request : m_launcher.Requests()) {
            const std::string& program = request.arguments.front();
            if (program != "xdg-open" && program != "xdg-mime") {
                starts.push_back(request);
            }
        }
        return starts;
    }
    const TempDir& Dir() const { return m_dir; }

private:
    LaunchResult Answer(const LaunchRequest& request) {
        const std::string& program = request.arguments.front();
        if (program == "xdg-open") {
            return opener;
        }
        if (program == "xdg-mime") {
            const auto found = mimeAnswers.find(request.arguments.back());
            return found == mimeAnswers.end() ? FakeProcessLauncher::NotFound() : found->second;
        }
        return browser;
    }

    TempDir m_dir;
    DesktopOpenerSettings m_settings;
    FakeProcessLauncher m_launcher;
};

TEST(DesktopUrlOpenerTest, TheDesktopOpenerGetsTheUrlAsItsOnlyArgument) {
    for (const LaunchResult& handedOver :
         {FakeProcessLauncher::Exited(0), FakeProcessLauncher::Running()}) {
        FakeDesktop desktop;
        desktop.opener = handedOver;
        EXPECT_EQ(desktop.Open(kUrl), open_result::kOpened);
        ASSERT_EQ(desktop.Launcher().Requests().size(), 1u);
        const LaunchRequest& request = desktop.Launcher().Requests().front();
        EXPECT_EQ(request.arguments, (Arguments{"xdg-open", kUrl}));
        EXPECT_EQ(request.waitForExit, DesktopOpenerSettings{}.openerWait);
        EXPECT_FALSE(request.captureOutput);
    }
}

TEST(DesktopUrlOpenerTest, TheOpenersFailureIsReportedWhenThereIsNoBrowserToFallBackTo) {
    struct Case {
        const char* name;
        LaunchResult outcome;
        int expected;
    };
    const Case cases[] = {
        {"missing", FakeProcessLauncher::NotStarted(ENOENT), open_result::kFileNotFound},
        {"path_not_a_directory", FakeProcessLauncher::NotStarted(ENOTDIR),
         open_result::kPathNotFound},
        {"not_allowed", FakeProcessLauncher::NotStarted(EACCES), open_result::kAccessDenied},
        {"not_an_executable", FakeProcessLauncher::NotStarted(ENOEXEC), open_result::kBadFormat},
        {"no_processes_left", FakeProcessLauncher::NotStarted(EAGAIN),
         open_result::kOutOfResources},
        {"bad_syntax", FakeProcessLauncher::Exited(1), open_result::kFileNotFound},
        {"file_missing", FakeProcessLauncher::Exited(2), open_result::kFileNotFound},
        {"no_tool", FakeProcessLauncher::Exited(3), open_result::kNoAssociation},
        {"action_failed", FakeProcessLauncher::Exited(4), open_result::kNoAssociation},
        {"killed", FakeProcessLauncher::Signalled(SIGKILL), open_result::kOutOfResources},
    };
    for (const Case& c : cases) {
        FakeDesktop desktop;
        desktop.opener = c.outcome;
        EXPECT_EQ(desktop.Open(kUrl), c.expected) << c.name;
        EXPECT_TRUE(desktop.BrowserStarts().empty()) << c.name;
    }
}

TEST(DesktopUrlOpenerTest, FallsBackToTheBrowserThatXdgMimeNames) {
    FakeDesktop desktop;
    desktop.mimeAnswers["x-scheme-handler/https"] = FakeProcessLauncher::Exited(0, "web.desktop\n");
    desktop.AddBrowser("web.desktop", R"("/opt/Web Browser/run" --new-tab "%u" --dropped)");
    EXPECT_EQ(desktop.Open(kUrl), open_result::kOpened);

    const std::vector<LaunchRequest> queries = desktop.Launcher().RequestsFor("xdg-mime");
    ASSERT_EQ(queries.size(), 1u);
    EXPECT_EQ(queries[0].arguments,
              (Arguments{"xdg-mime", "query", "default", "x-scheme-handler/https"}));
    EXPECT_TRUE(queries[0].captureOutput);
    const std::vector<LaunchRequest> starts = desktop.BrowserStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].arguments, (Arguments{"/opt/Web Browser/run", "--new-tab", kUrl}));
    EXPECT_EQ(starts[0].waitForExit.count(), 0);
}

TEST(DesktopUrlOpenerTest, BrowserLookupFollowsTheDesktopsOrder) {
    struct Case {
        const char* name;
        std::function<void(FakeDesktop&)> arrange;
        std::string expectedExec;  // empty: no browser is found
    };
    const Case cases[] = {
        {"html_handler_when_https_has_none",
         [](FakeDesktop& d) {
             d.mimeAnswers["x-scheme-handler/https"] = FakeProcessLauncher::Exited(0, "\n");
             d.mimeAnswers["text/html"] = FakeProcessLauncher::Exited(0, "html.desktop");
             d.AddBrowser("html.desktop", "html-browser %u");
         },
         "html-browser %u"},
        {"html_handler_when_the_https_entry_is_missing",
         [](FakeDesktop& d) {
             d.mimeAnswers["x-scheme-handler/https"] =
                 FakeProcessLauncher::Exited(0, "gone.desktop");
             d.mimeAnswers["text/html"] = FakeProcessLauncher::Exited(0, "html.desktop");
             d.AddBrowser("html.desktop", "html-browser %u");
         },
         "html-browser %u"},
        {"failed_query_counts_as_no_answer",
         [](FakeDesktop& d) {
             d.mimeAnswers["x-scheme-handler/https"] =
                 FakeProcessLauncher::Exited(5, "web.desktop");
             d.AddBrowser("web.desktop", "web %u");
         },
         ""},
        {"per_user_entry_hides_the_system_one",
         [](FakeDesktop& d) {
             d.mimeAnswers["x-scheme-handler/https"] =
                 FakeProcessLauncher::Exited(0, "web.desktop");
             d.AddBrowser("web.desktop", "system-web %u");
             d.AddEntry("web.desktop", "[Desktop Entry]\nExec=user-web %u\n", "home-share");
         },
         "user-web %u"},
        {"entry_in_a_vendor_directory",
         [](FakeDesktop& d) {
             d.mimeAnswers["x-scheme-handler/https"] =
                 FakeProcessLauncher::Exited(0, "vendor-web.desktop");
             d.AddBrowser("vendor/web.desktop", "vendor-web %u");
         },
         "vendor-web %u"},
        {"mimeapps_list_without_xdg_mime",
         [](FakeDesktop& d) {
             d.WriteMimeApps(
                 "[Added Associations]\nx-scheme-handler/https=wrong.desktop\n"
                 "[Default Applications]\nx-scheme-handler/https=absent.desktop;web.desktop;\n");
             d.AddBrowser("wrong.desktop", "wrong %u");
             d.AddBrowser("web.desktop", "listed-web %u");
         },
         "listed-web %u"},
        {"mimeapps_list_html_entry",
         [](FakeDesktop& d) {
             d.WriteMimeApps("[Default Applications]\ntext/html=html.desktop\n");
             d.AddBrowser("html.desktop", "html-browser %u");
         },
         "html-browser %u"},
        {"ids_that_leave_the_application_directories",
         [](FakeDesktop& d) {
             d.mimeAnswers["x-scheme-handler/https"] =
                 FakeProcessLauncher::Exited(0, "../evil.desktop");
             d.mimeAnswers["text/html"] = FakeProcessLauncher::Exited(0, "..-evil.desktop");
             d.AddEntry("../evil.desktop", "[Desktop Entry]\nExec=evil %u\n");
         },
         ""},
        {"entry_without_exec",
         [](FakeDesktop& d) {
             d.mimeAnswers["x-scheme-handler/https"] =
                 FakeProcessLauncher::Exited(0, "web.desktop");
             d.AddEntry("web.desktop", "[Desktop Entry]\nName=No command\n");
         },
         ""},
        {"exec_in_another_group_only",
         [](FakeDesktop& d) {
             d.mimeAnswers["x-scheme-handler/https"] =
                 FakeProcessLauncher::Exited(0, "web.desktop");
             d.AddEntry("web.desktop", "[Desktop Action new]\nExec=web %u\n");
         },
         ""},
        {"nothing_installed", [](FakeDesktop&) {}, ""},
    };
    for (const Case& c : cases) {
        FakeDesktop desktop;
        c.arrange(desktop);
        const std::optional<platform::BrowserEntry> entry = desktop.DefaultBrowser();
        if (c.expectedExec.empty()) {
            EXPECT_FALSE(entry.has_value()) << c.name;
        } else {
            ASSERT_TRUE(entry.has_value()) << c.name;
            EXPECT_EQ(entry->exec, c.expectedExec) << c.name;
        }
    }
}

TEST(DesktopUrlOpenerTest, AnIdBeginningWithADashIsLookedUpOnlyInTheApplicationDirectories) {
    // "-tmp-x.desktop" read with its first '-' as a directory separator would
    // be "/tmp/x.desktop": a file anywhere on the disk, whose Exec line would
    // then be run.
    const std::filesystem::path outside = std::filesystem::temp_directory_path();
    std::string id;
    for (const std::filesystem::path& part : outside.relative_path()) {
        if (part.string().find('-') != std::string::npos) {
            GTEST_SKIP() << "the temporary directory's path holds a '-'";
        }
        id += "-" + part.string();
    }
    const std::string name = "olvantaescape" + std::to_string(::getpid()) + ".desktop";
    id += "-" + name;
    { std::ofstream(outside / name) << "[Desktop Entry]\nExec=outside %u\n"; }
    const TempDir applications;
    platform::XdgDirectories directories;
    directories.dataDirs = {applications.Path()};
    const std::optional<std::filesystem::path> found = platform::FindDesktopEntry(directories, id);
    std::filesystem::remove(outside / name);
    EXPECT_FALSE(found.has_value()) << found.value_or("");
}

TEST(DesktopUrlOpenerTest, BrowserEntryFieldsReachTheCommand) {
    FakeDesktop desktop;
    desktop.mimeAnswers["x-scheme-handler/https"] = FakeProcessLauncher::Exited(0, "web.desktop");
    desktop.AddEntry("web.desktop",
                     "[Desktop Entry]\nName=Web\nIcon=web-icon\nExec=web %i --class=%c %k %U\n");
    EXPECT_EQ(desktop.Open(kUrl), open_result::kOpened);
    const std::vector<LaunchRequest> starts = desktop.BrowserStarts();
    ASSERT_EQ(starts.size(), 1u);
    const std::string location = (desktop.Dir().Path() / "usr-share/applications/web.desktop");
    EXPECT_EQ(starts[0].arguments,
              (Arguments{"web", "--icon", "web-icon", "--class=Web", location, kUrl}));
}

TEST(DesktopUrlOpenerTest, TheFallbacksOwnOutcomeDecides) {
    struct Case {
        const char* name;
        std::string exec;
        std::string url;
        LaunchResult browser;
        int expected;
        bool started;
    };
    const std::string longUrl = "https://e.example/" + std::string(10'000, 'a');
    const Case cases[] = {
        {"started", "web %u", kUrl, FakeProcessLauncher::Running(), open_result::kOpened, true},
        {"ended_at_once", "web %u", kUrl, FakeProcessLauncher::Exited(0), open_result::kOpened,
         true},
        {"browser_missing", "web %u", kUrl, FakeProcessLauncher::NotFound(),
         open_result::kFileNotFound, true},
        {"browser_not_allowed", "web %u", kUrl, FakeProcessLauncher::NotStarted(EACCES),
         open_result::kAccessDenied, true},
        // A command that would not fit is not composed at all.
        {"url_too_long", "web %u", longUrl, FakeProcessLauncher::Running(),
         open_result::kOutOfMemory, false},
        // Malformed commands end the fallback silently: the opener's code stands.
        {"open_quote", "\"web %u", kUrl, FakeProcessLauncher::Running(),
         open_result::kNoAssociation, false},
        {"no_program", "%u", kUrl, FakeProcessLauncher::Running(), open_result::kNoAssociation,
         false},
        // An address a browser would take for an option is never passed.
        {"url_like_an_option", "web %u", "--renderer-cmd-prefix=/bin/evil",
         FakeProcessLauncher::Running(), open_result::kNoAssociation, false},
    };
    for (const Case& c : cases) {
        FakeDesktop desktop;  // xdg-open answers 4: no handler
        desktop.mimeAnswers["x-scheme-handler/https"] =
            FakeProcessLauncher::Exited(0, "web.desktop");
        desktop.AddBrowser("web.desktop", c.exec);
        desktop.browser = c.browser;
        EXPECT_EQ(desktop.Open(c.url), c.expected) << c.name;
        EXPECT_EQ(desktop.BrowserStarts().size(), c.started ? 1u : 0u) << c.name;
    }
}

TEST(DesktopUrlOpenerTest, AnAddressFullOfShellCharactersStaysOneArgument) {
    const std::string hostile =
        "https://e.example/a b;touch /tmp/olvanta-pwned&$(reboot)`id`|x>y<z\n\"q\"'s'\\%u*?~#";
    FakeDesktop desktop;
    desktop.mimeAnswers["x-scheme-handler/https"] = FakeProcessLauncher::Exited(0, "web.desktop");
    desktop.AddBrowser("web.desktop", "web --new-window %u");
    EXPECT_EQ(desktop.Open(hostile), open_result::kOpened);
    const std::vector<LaunchRequest> openers = desktop.Launcher().RequestsFor("xdg-open");
    ASSERT_EQ(openers.size(), 1u);
    EXPECT_EQ(openers[0].arguments, (Arguments{"xdg-open", hostile}));
    const std::vector<LaunchRequest> starts = desktop.BrowserStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].arguments, (Arguments{"web", "--new-window", hostile}));
}

}  // namespace

namespace {

// The whole road with real processes: no opener, the browser named by a
// mimeapps.list, its entry's Exec line running a recording script.
TEST(DesktopUrlOpenerEndToEndTest, TheBrowserReceivesTheHostileAddressIntact) {
    const TempDir dir;
    const std::filesystem::path record = dir.Path() / "received";
    const std::filesystem::path canary = dir.Path() / "pwned";
    const std::filesystem::path script = dir.Write(
        "bin/browser", "#!/bin/sh\nprintf '%s|%s' \"$1\" \"$2\" > \"$0.tmp\" && mv \"$0.tmp\" \"" +
                           record.string() + "\"\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    dir.Write("config/mimeapps.list", "[Default Applications]\ntext/html=web.desktop\n");
    dir.Write("share/applications/web.desktop",
              "[Desktop Entry]\nExec=\"" + script.string() + "\" --tab %u --dropped\n");

    DesktopOpenerSettings settings;
    settings.openerProgram = (dir.Path() / "no-opener").string();
    settings.mimeQueryProgram = (dir.Path() / "no-query").string();
    settings.directories.configHome = dir.Path() / "config";
    settings.directories.dataDirs = {dir.Path() / "share"};
    DesktopUrlOpener opener(platform::SystemProcessLauncher(), settings);

    const std::string hostile = "https://e.example/?a=1;touch " + canary.string() + ";$(touch " +
                                canary.string() + ")`touch " + canary.string() + "`\n&|<>*";
    ASSERT_EQ(opener.OpenUrl(hostile), open_result::kOpened);

    std::string received;
    for (int attempt = 0; attempt < 500 && received.empty(); ++attempt) {
        std::ifstream in(record);
        received.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (received.empty()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    EXPECT_EQ(received, "--tab|" + hostile);
    EXPECT_FALSE(std::filesystem::exists(canary));
}

}  // namespace
