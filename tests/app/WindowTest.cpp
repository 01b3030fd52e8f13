#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <sstream>

#include "app/PlaceSuggestionModel.h"
#include "app/WindowFixture.h"
#include "cli/RunCli.h"
#include "controls/CAboutDlg.h"
#include "res/AppIcon.h"

namespace {

class WindowTest : public WindowFixture {};

TEST_F(WindowTest, FirstRunSelectsTheFirstEntriesAndStoresThem) {
    COlvantaDlg& window = Open();
    EXPECT_EQ(window.windowTitle(), "Olvanta v.1.1");
    EXPECT_EQ(BaseList()->currentText(), "Amsterdam");
    EXPECT_EQ(RemoteList()->currentText(), "Amsterdam");
    EXPECT_EQ(window.BaseIndex(), 0);
    EXPECT_EQ(window.RemoteIndex(), 0);
    EXPECT_EQ(StoredPosition(kBaseValue), 0);
    EXPECT_EQ(StoredPosition(kRemoteValue), 0);
    EXPECT_TRUE(m_messages.Messages().empty());
    EXPECT_EQ(BaseLabel(), "Base location: GMT+1");
    EXPECT_EQ(Result(), "16:47\n\n03.05.2026, Thursday \n\nTime difference : 0");
    EXPECT_EQ(ShownTime(), "16:47");
    EXPECT_EQ(Control<QTimeEdit>(COlvantaDlg::kIdTimePicker)->displayFormat(), "HH:mm");
    EXPECT_TRUE(BaseList()->hasFocus());
}

TEST_F(WindowTest, StartsWithTheTitleBarIconAndOffersEverySizeOncePainted) {
    const DialogEnvironment environment{m_data.Path(), m_clock, m_messages};
    COlvantaDlg window(environment);
    window.OnInitDialog();
    EXPECT_EQ(window.windowIcon().availableSizes(), OlvantaTitleBarIcon().availableSizes());
    window.show();
    EXPECT_TRUE(QTest::qWaitFor([&window] {
        return window.windowIcon().availableSizes() == OlvantaIcon().availableSizes();
    }));
}

TEST_F(WindowTest, BothListsHoldEveryPlaceAndUtcInOrder) {
    Open();
    const QStringList expected{"Amsterdam", "Berlin", "Bern", "Kolkata", "New York", "UTC", "Xian"};
    for (PlaceComboBox* list : {BaseList(), RemoteList()}) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) {
            texts << list->itemText(i);
        }
        EXPECT_EQ(texts, expected);
    }
}

TEST_F(WindowTest, RemembersStoredPositionsAndLeavesOutOfRangeOnesEmpty) {
    struct Case {
        std::int32_t base;
        std::int32_t remote;
        const char* baseText;
        const char* remoteText;
        const char* baseLabel;
        const char* remoteLabel;
    };
    const Case cases[] = {
        {3, 4, "Kolkata", "New York", "Base location: GMT+5:30", "Remote location: GMT-5"},
        {7, -1, "", "", "Base location:", "Remote location:"},
        {5, 6, "UTC", "Xian", "Base location:", "Remote location: GMT+8"},
    };
    for (const Case& c : cases) {
        PutPosition(kBaseValue, c.base);
        PutPosition(kRemoteValue, c.remote);
        COlvantaDlg& window = Open();
        EXPECT_EQ(BaseList()->currentText(), c.baseText);
        EXPECT_EQ(RemoteList()->currentText(), c.remoteText);
        EXPECT_EQ(BaseLabel(), c.baseLabel);
        EXPECT_EQ(RemoteLabel(), c.remoteLabel);
        window.close();  // writes the positions back unchanged
        EXPECT_EQ(StoredPosition(kBaseValue), c.base);
        EXPECT_EQ(StoredPosition(kRemoteValue), c.remote);
    }
}

TEST_F(WindowTest, OutOfRangePositionGivesTheResultForAnAbsentZone) {
    PutPosition(kBaseValue, 99);
    PutPosition(kRemoteValue, 3);  // Kolkata
    COlvantaDlg& window = Open();
    EXPECT_EQ(window.BaseIndex(), -1);
    EXPECT_EQ(ResultTime(), "21:17");  // 15:47 read as GMT, carried to GMT+5:30
    EXPECT_TRUE(Result().endsWith("Time difference : "));
}

TEST_F(WindowTest, TypedTextIsResolvedWhenTheListIsLeft) {
    struct Case {
        const char* name;
        std::string_view places;
        const char* typed;
        const char* selected;
        std::int32_t remembered;
    };
    const Case cases[] = {
        {"position_0_last", "Z,Berlin\nZ,Bern\n", "ber", "Bern", 1},
        {"case_ignored", "Z,Amsterdam\nZ,Berlin\nZ,Bern\n", "BER", "Berlin", 1},
        {"first_character", "Z,Amsterdam\nZ,Xian\n", "Xq", "Xian", 2},
        {"nothing_found_restores", "Z,Amsterdam\nZ,Berlin\n", "Q", "Amsterdam", 0},
        {"emptied_restores", "Z,Amsterdam\nZ,Berlin\n", "", "Amsterdam", 0},
        // A whole name is searched like any prefix: position 0 comes last.
        {"whole_name_is_a_prefix_too", "Z,Berlin\nZ,Berlin Heights\n", "Berlin", "Berlin Heights",
         1},
    };
    for (const Case& c : cases) {
        WriteData("Z,,,60\n", c.places);
        g_baseLocation = 0;
        Open();
        TypeAndLeave(BaseList(), QString::fromUtf8(c.typed));
        EXPECT_EQ(BaseList()->currentText(), c.selected) << c.name;
        EXPECT_EQ(g_baseLocation, c.remembered) << c.name;
        EXPECT_EQ(BaseLabel(), "Base location: GMT+1") << c.name;
    }
}

TEST_F(WindowTest, LeavingWithoutTypingKeepsTheSelectionAndRecomputes) {
    PutPosition(kBaseValue, 4);  // New York
    Open();
    Control<QLabel>(COlvantaDlg::kIdBaseLabel)->setText("stale");
    BaseList()->setFocus();
    QTest::keyClick(BaseList(), Qt::Key_Tab);
    EXPECT_EQ(BaseList()->currentText(), "New York");
    EXPECT_EQ(g_baseLocation, 4);
    EXPECT_EQ(BaseLabel(), "Base location: GMT-5");
}

TEST_F(WindowTest, ChoosingWithTheKeyboardOrTheMouseStoresThePositionAtOnce) {
    Open();
    RemoteList()->setFocus();
    QTest::keyClick(RemoteList(), Qt::Key_Down);
    EXPECT_EQ(RemoteList()->currentText(), "Berlin");
    EXPECT_EQ(g_remoteLocation, 1);

    RemoteList()->showPopup();
    QAbstractItemView* view = RemoteList()->view();
    // Rows of one height: opening a list of a million places measures one.
    ASSERT_TRUE(qobject_cast<QListView*>(view) != nullptr);
    EXPECT_TRUE(qobject_cast<QListView*>(view)->uniformItemSizes());
    const QModelIndex kolkata = view->model()->index(3, 0);
    view->scrollTo(kolkata);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(kolkata).center());
    QApplication::processEvents();
    EXPECT_EQ(RemoteList()->currentText(), "Kolkata");
    EXPECT_EQ(g_remoteLocation, 3);
    EXPECT_EQ(RemoteLabel(), "Remote location: GMT+5:30");
    EXPECT_EQ(ResultTime(), "21:17");  // Amsterdam 16:47 in winter is 15:47 GMT

    m_window->close();
    EXPECT_EQ(StoredPosition(kRemoteValue), 3);
}

TEST_F(WindowTest, QuickButtonsSetTheTimeOfDayAndKeepOrTakeTheDate) {
    COlvantaDlg& window = Open();
    Click(COlvantaDlg::kIdMidnight);
    EXPECT_EQ(window.BaseTime(), ToTimeValue({2026, 3, 4, 5, 0, 0, 0, 0}));
    EXPECT_EQ(ShownTime(), "00:00");
    Click(COlvantaDlg::kIdNoon);
    EXPECT_EQ(window.BaseTime(), ToTimeValue({2026, 3, 4, 5, 12, 0, 0, 0}));
    EXPECT_EQ(ShownTime(), "12:00");
    Click(COlvantaDlg::kIdNow);
    EXPECT_EQ(window.BaseTime(), ToTimeValue({2026, 3, 4, 5, 16, 47, 0, 0}) + 30);
    EXPECT_EQ(ShownTime(), "16:47");

    // Past midnight the buttons keep the date the window holds, while a
    // change of the time entry moves it to the new day.
    m_clock.seconds += 10 * 3600;  // 6 March, 02:47:30 in Amsterdam
    Click(COlvantaDlg::kIdMidnight);
    EXPECT_EQ(window.BaseTime(), ToTimeValue({2026, 3, 4, 5, 0, 0, 0, 0}));
    EXPECT_TRUE(Result().contains("03.05.2026"));
    auto* picker = Control<QTimeEdit>(COlvantaDlg::kIdTimePicker);
    picker->setFocus();
    picker->setCurrentSection(QDateTimeEdit::HourSection);
    QTest::keyClick(picker, Qt::Key_Up);
    EXPECT_EQ(window.BaseTime(), ToTimeValue({2026, 3, 5, 6, 1, 0, 0, 0}));
    EXPECT_TRUE(Result().startsWith("01:00\n\n03.06.2026, Friday"));
}

// The start, "Now" and a change of the time entry take the wall clock and
// the date at the base place, whatever the computer's own zone, and so does
// olvanta-cli without --at. On a computer in the base place's zone that is
// the computer's own clock.
TEST_F(WindowTest, NowIsTheWallClockAndTheDateAtTheBasePlace) {
    m_clock.seconds = 1772740830;  // 2026-03-05T20:00:30Z
    struct Case {
        const char* computerZone;
        std::int32_t base;  // 3 Kolkata, 4 New York, 5 UTC; the remote place is the same
        const char* now;    // the result area's time and date
        const char* anHourOn;
    };
    const Case cases[] = {
        {"America/New_York", 3, "01:30\n\n03.06.2026, Friday", "02:30\n\n03.06.2026, Friday"},
        {"Asia/Kolkata", 4, "15:00\n\n03.05.2026, Thursday", "16:00\n\n03.05.2026, Thursday"},
        {"Asia/Tokyo", 5, "20:00\n\n03.05.2026, Thursday", "21:00\n\n03.05.2026, Thursday"},
        {"Asia/Kolkata", 3, "01:30\n\n03.06.2026, Friday", "02:30\n\n03.06.2026, Friday"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.computerZone) + " " + std::to_string(c.base));
        if (!IanaZoneInstalled(c.computerZone)) {
            GTEST_SKIP() << "tzdata is not installed";
        }
        const ScopedTimeZone computer(c.computerZone);
        PutPosition(kBaseValue, c.base);
        PutPosition(kRemoteValue, c.base);
        Open();
        EXPECT_TRUE(Result().startsWith(c.now)) << Result().toStdString();
        Click(COlvantaDlg::kIdMidnight);
        Click(COlvantaDlg::kIdNow);
        EXPECT_TRUE(Result().startsWith(c.now)) << Result().toStdString();
        EXPECT_EQ(ShownTime(), QString(c.now).left(5));
        auto* picker = Control<QTimeEdit>(COlvantaDlg::kIdTimePicker);
        picker->setFocus();
        picker->setCurrentSection(QDateTimeEdit::HourSection);
        QTest::keyClick(picker, Qt::Key_Up);
        EXPECT_TRUE(Result().startsWith(c.anHourOn)) << Result().toStdString();
        m_window->close();

        const std::string place = BaseList()->itemText(c.base).toStdString();
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunCli({place, place}, {m_data.Path(), m_clock}, out, err), kCliSuccess);
        EXPECT_NE(out.str().find(c.now), std::string::npos) << out.str();
    }
}

TEST_F(WindowTest, ReturnAndEscapeCloseTheWindowAndWriteThePlaces) {
    for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
        PutPosition(kRemoteValue, 0);
        Open();
        // A place typed into the remote list and found there is the one kept.
        RemoteList()->setFocus();
        RemoteList()->lineEdit()->selectAll();
        TypeKeys("kol");
        PressKey(Qt::Key_Escape);  // closes the suggestions only
        ASSERT_TRUE(m_window->isVisible());
        PressKey(static_cast<Qt::Key>(key));
        EXPECT_FALSE(m_window->isVisible());
        EXPECT_EQ(StoredPosition(kRemoteValue), 3);
        EXPECT_EQ(StoredPosition(kBaseValue), 0);
    }
}

// Typing into a list opens a list of suggestions; choosing one is choosing
// its entry from the list, and the text field keeps what was typed until then.
TEST_F(WindowTest, SuggestionsWhileTypingChooseTheirEntryAndNeverCloseTheWindow) {
    WriteData(
        "Europe/Berlin,UTC+01:00/+02:00 Germany,,60,10,0,1,5,3,0,60,3,0,1,5,2,0\n"
        "America/Los_Angeles,UTC-08:00/-07:00 United States - Pacific,,-480,11,0,1,1,2,0,60,3,0,1,"
        "2,2,0\n"
        "America/Santo_Domingo,UTC-04:00 Dominican Republic,,-240\n"
        "Asia/Kolkata,UTC+05:30 India,,330\n",
        // In list order: Berlin 0, Kolkata 1, San Francisco 2, San Francisco
        // de Macoris 3, UTC 4.
        "Europe/Berlin,Berlin\nAmerica/Los_Angeles,San Francisco\n"
        "America/Santo_Domingo,San Francisco de Macoris\nAsia/Kolkata,Kolkata\n");
    Open();
    PlaceComboBox* list = RemoteList();
    QAbstractItemView* popup = nullptr;  // made by the first keystroke
    const auto rows = [&popup] {
        QStringList texts;
        for (int row = 0; row < popup->model()->rowCount(); ++row) {
            texts << popup->model()->index(row, 0).data().toString();
        }
        return texts;
    };
    const auto typeAfresh = [list, &popup](const QString& text) {
        list->setFocus();
        list->lineEdit()->selectAll();
        TypeKeys(text);
        popup = list->Suggestions()->popup();
    };

    typeAfresh("San Fr");
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->accessibleName(), "Remote location: suggestions");
    EXPECT_EQ(rows(),
              (QStringList{"San Francisco \u2014 United States - Pacific \u2014 GMT-8",
                           "San Francisco de Macoris \u2014 Dominican Republic \u2014 GMT-4"}));
    PressKey(Qt::Key_Down);
    EXPECT_EQ(list->currentText(), "San Fr");
    PressKey(Qt::Key_Return);
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(list->currentText(), "San Francisco");
    EXPECT_EQ(g_remoteLocation, 2);
    EXPECT_EQ(m_window->RemoteIndex(), 2);
    EXPECT_EQ(RemoteLabel(), "Remote location: GMT-8");
    EXPECT_EQ(ResultTime(), "07:47");  // Berlin 16:47 in winter

    // A click chooses as well.
    typeAfresh("macor");
    const QModelIndex macoris = popup->model()->index(0, 0);
    QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, popup->visualRect(macoris).center());
    EXPECT_EQ(list->currentText(), "San Francisco de Macoris");
    EXPECT_EQ(g_remoteLocation, 3);

    // Escape closes the suggestions alone; leaving the list then resolves
    // the typed text as ever.
    typeAfresh("kol");
    EXPECT_EQ(rows(), QStringList{"Kolkata \u2014 India \u2014 GMT+5:30"});
    PressKey(Qt::Key_Down);
    EXPECT_EQ(list->currentText(), "kol");
    PressKey(Qt::Key_Escape);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_EQ(g_remoteLocation, 3);
    PressKey(Qt::Key_Tab);
    EXPECT_EQ(list->currentText(), "Kolkata");
    EXPECT_EQ(g_remoteLocation, 1);

    // Nothing matching: the suggestions say so, and that row chooses nothing.
    typeAfresh("zq");
    EXPECT_EQ(rows(), QStringList{PlaceSuggestionModel::kNothingMatches});
    EXPECT_FALSE(popup->model()->index(0, 0).flags() & Qt::ItemIsEnabled);
    PressKey(Qt::Key_Down);
    PressKey(Qt::Key_Return);
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_EQ(list->currentText(), "zq");
    PressKey(Qt::Key_Tab);
    EXPECT_EQ(list->currentText(), "Kolkata");  // no entry begins with z either
    EXPECT_EQ(g_remoteLocation, 1);
}

TEST_F(WindowTest, ReturnOnAButtonClicksItAndInTheResultAreaDoesNothing) {
    COlvantaDlg& window = Open();
    auto* noon = Control<QPushButton>(COlvantaDlg::kIdNoon);
    noon->setFocus();
    QTest::keyClick(noon, Qt::Key_Return);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(ShownTime(), "12:00");

    auto* result = Control<QPlainTextEdit>(COlvantaDlg::kIdResult);
    result->setFocus();
    QTest::keyClick(result, Qt::Key_Return);
    EXPECT_TRUE(window.isVisible());

    Control<QTimeEdit>(COlvantaDlg::kIdTimePicker)->setFocus();
    QTest::keyClick(Control<QTimeEdit>(COlvantaDlg::kIdTimePicker), Qt::Key_Return);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(WindowTest, TopEditsStayEmptyWhateverHappens) {
    Open();
    TypeAndLeave(BaseList(), "new");
    Click(COlvantaDlg::kIdNoon);
    Click(COlvantaDlg::kIdNow);
    for (int id : {COlvantaDlg::kIdTopLeftEdit, COlvantaDlg::kIdTopRightEdit}) {
        EXPECT_TRUE(Control<QLineEdit>(id)->text().isEmpty()) << id;
    }
}

TEST_F(WindowTest, ACalendarErrorIsShownAndTheResultStays) {
    Open();
    const QString before = Result();
    m_clock.seconds = -2'240'524'800;  // 1899-01-01: before the calendar range
    Click(COlvantaDlg::kIdNow);
    ASSERT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_EQ(m_messages.Messages()[0].first, platform::MessageIcon::Stop);
    EXPECT_EQ(m_messages.Messages()[0].second, "Unspecified error");
    EXPECT_EQ(Result(), before);
    // The window goes on: a later event works again.
    m_clock.seconds = 1772725650;
    Click(COlvantaDlg::kIdNow);
    EXPECT_EQ(ResultTime(), "16:47");
}

TEST_F(WindowTest, TheAboutEntryOpensTheAboutBoxModally) {
    COlvantaDlg& window = Open();
    QString caption;
    QTimer::singleShot(0, [&caption] {
        if (auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget())) {
            caption = about->windowTitle();
            about->accept();
        }
    });
    window.OnSysCommand(COlvantaDlg::kAboutCommand);
    EXPECT_EQ(caption, "Olvanta v.1.1");
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Olvanta v.1.1");
}

TEST_F(WindowTest, ADamagedSettingsFileIsReportedAtStartAndAgainAtClose) {
    const std::string_view notText("timezones_Base_Location=5\n\0\xff", 28);
    m_config.Write("Quandelle/Olvanta.conf", notText);
    COlvantaDlg& window = Open();
    const std::pair<platform::MessageIcon, std::string> damaged{platform::MessageIcon::Stop,
                                                                "Registry database is corrupted!"};
    EXPECT_EQ(m_messages.Messages(), (std::vector{damaged}));
    window.reject();
    EXPECT_EQ(m_messages.Messages(), (std::vector{damaged, damaged}));
}

TEST_F(WindowTest, ADataFileThatCannotBeReadIsReportedBeforeAnyWindow) {
    std::filesystem::remove(m_data.Path() / kLocationsFileName);
    const DialogEnvironment environment{m_data.Path(), m_clock, m_messages, &m_opener};
    const COlvantaDlg window(environment);
    EXPECT_FALSE(window.CatalogueLoaded());
    ASSERT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_EQ(m_messages.Messages()[0].first, platform::MessageIcon::Stop);
    EXPECT_EQ(m_messages.Messages()[0].second.rfind("Locations data could not be retreived!", 0),
              0u);
    EXPECT_FALSE(SettingsWritten());
}

}  // namespace
