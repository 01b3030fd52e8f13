// The main window fed what it may meet outside: data files that cannot be
// read or hold no text, clocks at the ends of the calendar and lists with
// hardly any entry. It shows the standard message or a correct result, never crashes,
// and never loses a stored value.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QTime>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "app/COlvantaApp.h"
#include "app/WindowFixture.h"
#include "olvanta/Config.h"
#include "platform/GccRestrictFalsePositive.h"
#include "support/UnprivilegedFiles.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string kTimezonesError =
    "Timezones data could not be retreived! For support please visit "s + OLVANTA_SUPPORT_URL;
const std::string kLocationsError =
    "Locations data could not be retreived! For support please visit "s + OLVANTA_SUPPORT_URL;
const std::string kCalendarFail = "Unspecified error";
const std::string kCalendarInvalid = "The parameter is incorrect.";

// Bytes from a fixed seed, none of them in `excluded`.
std::string RandomBytes(std::size_t count, std::uint32_t seed, std::string_view excluded = {}) {
    std::mt19937 generator(seed);
    std::string bytes;
    while (bytes.size() < count) {
        const auto byte = static_cast<char>(generator() & 0xFF);
        if (excluded.find(byte) == std::string_view::npos) {
            bytes += byte;
        }
    }
    return bytes;
}

class WindowRobustnessTest : public WindowFixture {
protected:
    // Builds the window over the data files as they stand, without
    // initialising it, as the program does before it decides to go on.
    COlvantaDlg& Construct() {
        const DialogEnvironment environment{m_data.Path(), m_clock, m_messages, &m_opener};
        m_window = std::make_unique<COlvantaDlg>(environment);
        return *m_window;
    }

    static QStringList Entries(const PlaceComboBox* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) {
            texts << list->itemText(i);
        }
        return texts;
    }

    // Chooses every entry of the base list in turn (the first by leaving the
    // list, the others with the arrow keys) and returns the base label shown for each entry bound
    // to a zone.
    QStringList BaseLabelsOfEveryPlace() {
        QStringList labels;
        for (int i = 0; i < BaseList()->count(); ++i) {
            BaseList()->setFocus();
            if (i == 0) {
                BaseList()->Select(0);
                QTest::keyClick(BaseList(), Qt::Key_Tab);  // leaving settles the choice
            } else {
                QTest::keyClick(BaseList(), Qt::Key_Down);
            }
            EXPECT_EQ(BaseList()->currentIndex(), i);
            if (m_window->Places().Zone(i) != nullptr) {
                labels << BaseLabel();
            }
        }
        return labels;
    }

    // Types text of any characters, as a keyboard of another language or
    // an input method would, and leaves the list.
    void TypeAnyTextAndLeave(PlaceComboBox* list, const QString& text) {
        list->setFocus(Qt::MouseFocusReason);
        list->lineEdit()->selectAll();
        for (const QChar character : text) {
            QTest::sendKeyEvent(QTest::Click, list->lineEdit(), Qt::Key_unknown, QString(character),
                                Qt::NoModifier);
        }
        PressKey(Qt::Key_Tab);
    }

    // Acts once on every handler, as a user would.
    void UseEveryControl() {
        RemoteList()->setFocus();
        QTest::keyClick(RemoteList(), Qt::Key_Down);
        QTest::keyClick(RemoteList(), Qt::Key_Up);
        TypeAndLeave(BaseList(), QStringLiteral("b"));
        TypeAnyTextAndLeave(RemoteList(), QString::fromUtf8("\xC3\xA9\xEF\xBF\xBD\x01"));
        TypeAndLeave(BaseList(), QString());
        Click(COlvantaDlg::kIdMidnight);
        Click(COlvantaDlg::kIdNoon);
        Click(COlvantaDlg::kIdNow);
        Control<QTimeEdit>(COlvantaDlg::kIdTimePicker)->setTime(QTime(11, 11));
    }

    // Whether every message so far is the standard error box of a calendar
    // error: the only message the window's handlers may show.
    bool OnlyCalendarErrorsShown() const {
        return std::all_of(
            m_messages.Messages().begin(), m_messages.Messages().end(), [](const auto& message) {
                return message.first == platform::MessageIcon::Stop &&
                       (message.second == kCalendarFail || message.second == kCalendarInvalid);
            });
    }
};

TEST_F(WindowRobustnessTest, ADataFileThatCannotBeReadEndsTheProgramBeforeAnyWindow) {
    struct Case {
        const char* name;
        const char* file;
        std::function<void(const fs::path&)> spoil;
    };
    const auto remove = [](const fs::path& file) { fs::remove(file); };
    const Case cases[] = {
        {"zone_file_missing", kZoneFileName, remove},
        {"locations_file_missing", kLocationsFileName, remove},
        {"zone_file_is_a_directory", kZoneFileName,
         [](const fs::path& file) {
             fs::remove(file);
             fs::create_directory(file);
         }},
        // Nothing ever writes to these FIFOs: opening one for reading in the
        // ordinary way would wait for ever.
        {"zone_file_is_a_fifo", kZoneFileName,
         [](const fs::path& file) {
             fs::remove(file);
             ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
         }},
        {"locations_file_is_a_fifo", kLocationsFileName,
         [](const fs::path& file) {
             fs::remove(file);
             ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
         }},
        // A device would be read without end.
        {"zone_file_links_to_an_endless_device", kZoneFileName,
         [](const fs::path& file) {
             fs::remove(file);
             fs::create_symlink("/dev/zero", file);
         }},
        {"locations_file_is_a_dangling_link", kLocationsFileName,
         [](const fs::path& file) {
             fs::remove(file);
             fs::create_symlink(file.parent_path() / "gone", file);
         }},
        {"zone_file_not_readable_by_the_user", kZoneFileName,
         [](const fs::path& file) { fs::permissions(file, fs::perms::none); }},
        {"locations_file_not_readable_by_the_user", kLocationsFileName,
         [](const fs::path& file) { fs::permissions(file, fs::perms::owner_write); }},
    };
    ScopedUnprivilegedFiles::LetPass(m_data.Path());
    for (const Case& c : cases) {
        for (const char* name : {kZoneFileName, kLocationsFileName}) {
            fs::remove_all(m_data.Path() / name);
        }
        WriteData(kZones, kPlaces);
        for (const char* name : {kZoneFileName, kLocationsFileName}) {
            fs::permissions(m_data.Path() / name, fs::perms::owner_read | fs::perms::owner_write |
                                                      fs::perms::group_read |
                                                      fs::perms::others_read);
        }
        c.spoil(m_data.Path() / c.file);
        m_messages.Clear();
        {
            const ScopedUnprivilegedFiles asAnOrdinaryUser;
            Construct();
        }
        EXPECT_FALSE(m_window->CatalogueLoaded()) << c.name;
        EXPECT_FALSE(m_window->isVisible()) << c.name;
        ASSERT_EQ(m_messages.Messages().size(), 1u) << c.name;
        EXPECT_EQ(m_messages.Messages()[0].first, platform::MessageIcon::Stop) << c.name;
        EXPECT_EQ(m_messages.Messages()[0].second,
                  std::string_view(c.file) == kZoneFileName ? kTimezonesError : kLocationsError)
            << c.name;
        EXPECT_FALSE(SettingsWritten()) << c.name;
    }
}

// The address space the process holds now, in bytes.
std::size_t AddressSpaceInUse() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmSize:", 0) == 0) {
            return std::stoul(line.substr(7)) * 1024;
        }
    }
    return 0;
}

TEST_F(WindowRobustnessTest, MemoryRunningOutWhileTheListIsMadeEndsTheProgramBeforeAnyWindow) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer reserves more address space than any limit leaves";
#endif
    // 400 names of 100,000 letters: the catalogue holds 40 MB of them, their
    // texts in the list 80 MB more. A process with 60 MB to spare reads the
    // files and runs out while it makes the list.
    std::string places;
    for (int i = 0; i < 400; ++i) {
        places += "Europe/Berlin," + std::string(100'000, static_cast<char>('a' + i % 26)) + "\n";
    }
    WriteData(kZones, places);
    const fs::path seen = m_data.Path() / "seen";
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{AddressSpaceInUse() + (60u << 20), RLIM_INFINITY};
        ::setrlimit(RLIMIT_AS, &limit);
        std::ofstream(seen) << Construct().CatalogueLoaded() << " " << m_messages.Texts().size()
                            << " " << (m_messages.Texts().empty() ? "" : m_messages.Texts()[0]);
        ::_exit(0);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    std::ifstream in(seen);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "0 1 " + kLocationsError);
}

TEST_F(WindowRobustnessTest, AProgramThatCannotTellWhereItIsReportsItsDataAsUnreadable) {
    const auto noProc = []() -> fs::path {
        throw fs::filesystem_error("read_symlink", "/proc/self/exe",
                                   std::make_error_code(std::errc::no_such_file_or_directory));
    };
    EXPECT_EQ(DataDirectory(noProc, m_messages), std::nullopt);
    ASSERT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_EQ(m_messages.Messages()[0].first, platform::MessageIcon::Stop);
    EXPECT_EQ(m_messages.Messages()[0].second, kTimezonesError);

    m_messages.Clear();
    EXPECT_EQ(DataDirectory([this] { return m_data.Path(); }, m_messages), m_data.Path());
    EXPECT_TRUE(m_messages.Messages().empty());
}

TEST_F(WindowRobustnessTest, DataThatIsNoProperTextStillGivesAWorkingWindow) {
    struct Case {
        const char* name;
        std::string zones;
        std::string places;
        QStringList entries;  // in any order
        QString label;        // the base label of every place
    };
    // Zone lines of garbage after a name of their own, and locations lines
    // binding a place of garbage to each: every line makes one entry.
    std::string garbageZones;
    std::string garbagePlaces;
    for (int i = 0; i < 300; ++i) {
        // g++ 12 at -O3 takes this string copy for an overlapping one.
        OLVANTA_GCC_RESTRICT_FALSE_POSITIVE_BEGIN
        const std::string name = "G" + std::to_string(i) + ",";
        OLVANTA_GCC_RESTRICT_FALSE_POSITIVE_END
        garbageZones += name + RandomBytes(40, 7 * i + 1, "\n\x1A") + "\n";
        garbagePlaces += name + RandomBytes(12, 11 * i + 5, "\n\r\x1A,\"") + "\n";
    }
    std::string duplicates = "Dup,first,,60\n";
    for (int i = 0; i < 1000; ++i) {
        duplicates += "Dup,later " + std::to_string(i) + ",," + std::to_string(i * 15) + "\n";
    }
    const QChar nul(u'\0');
    const QChar replacement(QChar::ReplacementCharacter);
    const Case cases[] = {
        {"empty_files", "", "", {"UTC"}, ""},
        {"nul_bytes",
         "Z\0ne,label\0,,60\n"s,
         "Z\0ne,Ber\0lin\nZ\0ne,\0\n"s,
         {QString("Ber") + nul + "lin", QString(nul), "UTC"},
         "Base location: GMT+1"},
        {"not_utf8",
         "Z,,,120\n",
         "Z,Caf\xE9\nZ,\xFF\xFE\nZ,Ok\xC3\n",
         {QString("Caf") + replacement, QString(2, replacement), QString("Ok") + replacement,
          "UTC"},
         "Base location: GMT+2"},
        {"every_zone_name_a_duplicate",
         duplicates,
         "Dup,Here\nDup,There\n",
         {"Here", "There", "UTC"},
         "Base location: GMT+1"},
        {"fifty_megabyte_line",
         "Z," + std::string(50'000'000, 'x') + ",,-60\n",
         "Z,Here\n",
         {"Here", "UTC"},
         "Base location: GMT-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteData(c.zones, c.places);
        PutPosition(kBaseValue, 0);
        PutPosition(kRemoteValue, 0);
        m_messages.Clear();
        Open();
        QStringList entries = Entries(BaseList());
        QStringList expected = c.entries;
        entries.sort();
        expected.sort();
        EXPECT_EQ(entries, expected);
        EXPECT_EQ(Entries(RemoteList()).size(), c.entries.size());
        const QStringList labels = BaseLabelsOfEveryPlace();
        EXPECT_EQ(labels, QStringList(c.entries.size() - 1, c.label));
        UseEveryControl();
        EXPECT_TRUE(m_messages.Messages().empty());
        EXPECT_TRUE(Result().contains(QStringLiteral("03.05.2026, Thursday")))
            << Result().toStdString();
        m_window->close();
        EXPECT_EQ(StoredPosition(kBaseValue), g_baseLocation);
    }

    // Garbage: whatever its numbers give, every line is an entry, and the
    // only message the window may show is a calendar error.
    WriteData(garbageZones, garbagePlaces);
    m_messages.Clear();
    Open();
    EXPECT_EQ(BaseList()->count(), 301);
    BaseLabelsOfEveryPlace();
    UseEveryControl();
    EXPECT_TRUE(OnlyCalendarErrorsShown());
    m_window->close();
    EXPECT_EQ(StoredPosition(kRemoteValue), g_remoteLocation);
}

TEST_F(WindowRobustnessTest, ListsWithOnlyUtcOrOnePlaceAnswerEveryHandler) {
    struct Step {
        std::function<void()> act;
        const char* selected;  // the base list's text afterwards
    };
    const auto down = [this] {
        BaseList()->setFocus();
        QTest::keyClick(BaseList(), Qt::Key_Down);
    };
    const auto up = [this] {
        BaseList()->setFocus();
        QTest::keyClick(BaseList(), Qt::Key_Up);
    };
    const auto type = [this](const char* text) {
        return [this, text] { TypeAndLeave(BaseList(), text); };
    };
    // A label keeps its text while "UTC" is chosen, which has no zone.
    struct Case {
        const char* name;
        std::string places;
        const char* label;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"only_utc",
         "",
         "Base location:",
         {{down, "UTC"}, {up, "UTC"}, {type("q"), "UTC"}, {type("s"), "UTC"}, {type(""), "UTC"}}},
        {"one_place",
         "Z,Solo\n",
         "Base location: GMT+1",
         {{down, "UTC"},
          {down, "UTC"},
          {up, "Solo"},
          {up, "Solo"},
          {type("u"), "UTC"},
          {type("q"), "UTC"},
          {type("so"), "Solo"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteData("Z,,,60\n", c.places);
        PutPosition(kBaseValue, 0);
        PutPosition(kRemoteValue, 0);
        Open();
        for (const Step& step : c.steps) {
            SCOPED_TRACE(&step - c.steps.data());
            step.act();
            EXPECT_EQ(BaseList()->currentText(), step.selected);
            EXPECT_EQ(BaseList()->currentIndex(), g_baseLocation);
            EXPECT_EQ(BaseLabel(), c.label);
        }
        UseEveryControl();
        EXPECT_TRUE(m_messages.Messages().empty());

        // Remembered positions past the end of so short a list select
        // nothing; typed text that matches nothing keeps it that way.
        PutPosition(kBaseValue, 2);
        PutPosition(kRemoteValue, -1);
        Open();
        EXPECT_EQ(BaseList()->currentIndex(), -1);
        EXPECT_EQ(RemoteList()->currentIndex(), -1);
        EXPECT_EQ(Result(), "15:47\n\n03.05.2026, Thursday \n\nTime difference : ");
        TypeAndLeave(BaseList(), QStringLiteral("x"));
        EXPECT_EQ(BaseList()->currentIndex(), -1);
        EXPECT_EQ(BaseLabel(), "Base location:");
        EXPECT_TRUE(m_messages.Messages().empty());
    }
}

TEST_F(WindowRobustnessTest, ClocksAtTheEndsOfTheCalendarGiveTheResultOrTheErrorBox) {
    // Each step's outcome: the result area's text, or "!" and the error box's
    // text, after which the result area keeps what it showed. The clocks are
    // named after the wall clock at the base place, Berlin, an hour ahead of
    // UTC in winter.
    constexpr std::int64_t kBerlinAhead = 3600;
    struct Case {
        const char* name;
        std::int64_t clock;
        std::int32_t remote;                // 3 Kolkata, 4 New York; the base is Berlin
        std::vector<std::string> outcomes;  // opening, 00:00, 12:00, 11:11 typed, Now
    };
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    const std::string fail = "!" + kCalendarFail;
    const std::string invalid = "!" + kCalendarInvalid;
    const auto result = [](const char* time, const char* date, const char* difference) {
        return std::string(time) + "\n\n" + date + " \n\nTime difference : " + difference;
    };
    const Case cases[] = {
        {"a_second_before_1970",
         -1 - kBerlinAhead,
         4,
         {result("17:59", "12.31.1969, Wednesday", "-6"),
          result("18:00", "12.30.1969, Tuesday", "-6"),
          result("06:00", "12.31.1969, Wednesday", "-6"),
          result("05:11", "12.31.1969, Wednesday", "-6"),
          result("17:59", "12.31.1969, Wednesday", "-6")}},
        // Midnight in Berlin is still 1899 in New York, before the range.
        {"the_first_moment_of_1900",
         -2'208'988'800 - kBerlinAhead,
         4,
         {fail, fail, result("06:00", "01.01.1900, Monday", "-6"),
          result("05:11", "01.01.1900, Monday", "-6"), fail}},
        // 2100 is no leap year: the day after 28 February is 1 March.
        {"the_last_half_hour_of_february_2100",
         4'107'540'600 - kBerlinAhead,
         3,
         {result("04:00", "03.01.2100, Monday", "4:30"),
          result("04:30", "02.28.2100, Sunday", "4:30"),
          result("16:30", "02.28.2100, Sunday", "4:30"),
          result("15:41", "02.28.2100, Sunday", "4:30"),
          result("04:00", "03.01.2100, Monday", "4:30")}},
        // Kolkata is already in the year 65536, which no record holds.
        {"the_last_minute_of_65535",
         2'005'949'145'540 - kBerlinAhead,
         3,
         {fail, result("04:30", "12.31.65535, Tuesday", "4:30"),
          result("16:30", "12.31.65535, Tuesday", "4:30"),
          result("15:41", "12.31.65535, Tuesday", "4:30"), fail}},
        {"the_first_moment_of_65536",
         2'005'949'145'600 - kBerlinAhead,
         4,
         {invalid, invalid, invalid, invalid, invalid}},
        {"the_largest_clock", kMax, 4, {invalid, invalid, invalid, invalid, invalid}},
        {"the_smallest_clock", kMin, 4, {invalid, invalid, invalid, invalid, invalid}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_clock.seconds = c.clock;
        PutPosition(kBaseValue, 1);
        PutPosition(kRemoteValue, c.remote);
        m_messages.Clear();
        const std::function<void()> steps[] = {
            [this] {
                Open();
                // Away from the lists, so that no click below leaves one.
                Control<QTimeEdit>(COlvantaDlg::kIdTimePicker)->setFocus();
            },
            [this] { Click(COlvantaDlg::kIdMidnight); },
            [this] { Click(COlvantaDlg::kIdNoon); },
            [this] { Control<QTimeEdit>(COlvantaDlg::kIdTimePicker)->setTime(QTime(11, 11)); },
            [this] { Click(COlvantaDlg::kIdNow); },
        };
        ASSERT_EQ(c.outcomes.size(), std::size(steps));
        QString shown;
        for (std::size_t i = 0; i < c.outcomes.size(); ++i) {
            const std::size_t messagesBefore = m_messages.Messages().size();
            steps[i]();
            const std::string& outcome = c.outcomes[i];
            if (outcome.front() == '!') {
                // Leaving a list is an event of its own, which shows its
                // error too.
                ASSERT_GT(m_messages.Messages().size(), messagesBefore) << i;
                for (std::size_t m = messagesBefore; m < m_messages.Messages().size(); ++m) {
                    EXPECT_EQ(m_messages.Messages()[m].first, platform::MessageIcon::Stop) << i;
                    EXPECT_EQ(m_messages.Messages()[m].second, outcome.substr(1)) << i;
                }
                EXPECT_EQ(Result(), shown) << i;
            } else {
                EXPECT_EQ(m_messages.Messages().size(), messagesBefore) << i;
                EXPECT_EQ(Result().toStdString(), outcome) << i;
            }
            shown = Result();
        }
        m_window->close();
        EXPECT_EQ(StoredPosition(kRemoteValue), c.remote);
    }
}

// A zone whose conversion always fails: every user event shows its error
// once, although the box takes the focus from the list the event began in and
// closing the window leaves that list as well.
TEST_F(WindowRobustnessTest, AFailingConversionShowsOneBoxPerEvent) {
    WriteData("Z/I16min,l,r,-32768,10,0,1,5,3,0,-32768,3,0,1,5,2,0\n", "Z/I16min,Odd\n");
    m_messages.whileShown = [] {
        QMessageBox box(QMessageBox::Critical, QString(), QString(), QMessageBox::Ok,
                        QApplication::activeWindow());
        QTimer::singleShot(0, &box, [&box] {
            (void)QTest::qWaitForWindowActive(&box);
            box.accept();
        });
        box.exec();
    };
    Open();  // both lists on Odd: nothing to carry
    RemoteList()->setFocus();
    ASSERT_TRUE(m_messages.Messages().empty());
    const std::pair<const char*, std::function<void()>> events[] = {
        {"UTC_chosen_as_the_remote_place", [this] { QTest::keyClick(RemoteList(), Qt::Key_Down); }},
        {"remote_list_left_with_tab", [this] { QTest::keyClick(RemoteList(), Qt::Key_Tab); }},
        {"now", [this] { Click(COlvantaDlg::kIdNow); }},
        {"midnight", [this] { Click(COlvantaDlg::kIdMidnight); }},
        {"time_entry_changed",
         [this] {
             auto* picker = Control<QTimeEdit>(COlvantaDlg::kIdTimePicker);
             picker->setFocus();
             picker->setCurrentSection(QDateTimeEdit::HourSection);
             QTest::keyClick(picker, Qt::Key_Up);
         }},
        {"escape_in_the_base_list",
         [this] {
             BaseList()->setFocus();
             QTest::keyClick(BaseList(), Qt::Key_Escape);
             QApplication::processEvents();
         }},
    };
    for (const auto& [name, event] : events) {
        // Back in the window after the last box, as a person would be.
        QApplication::setActiveWindow(m_window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get())) << name;
        m_messages.Clear();
        event();
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{kCalendarFail}) << name;
    }
    EXPECT_FALSE(m_window->isVisible());
}

}  // namespace
