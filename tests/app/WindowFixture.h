// The main window over data files of a temporary directory, settings in a
// temporary configuration directory and a clock the test sets, with helpers that find the
// controls and act as a user would.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimeEdit>
#include <memory>
#include <string_view>

#include "app/COlvantaDlg.h"
#include "app/PlaceComboBox.h"
#include "app/settings/Settings.h"
#include "catalogue/LoadCatalogue.h"
#include "controls/Mnemonic.h"
#include "support/FixedClock.h"
#include "support/IanaTime.h"
#include "support/RecordingMessageSink.h"
#include "support/RecordingUrlOpener.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDir.h"

inline constexpr const char* kBaseValue = "timezones_Base_Location";
inline constexpr const char* kRemoteValue = "timezones_Remote_Location";

inline constexpr std::string_view kZones =
    "Europe/Berlin,,,60,10,0,1,5,3,0,60,3,0,1,5,2,0\n"
    "America/New_York,,,-300,11,0,1,1,2,0,60,3,0,1,2,2,0\n"
    "Asia/Kolkata,,,330\n"
    "Asia/Shanghai,,,480\n";
// In list order: Amsterdam 0, Berlin 1, Bern 2, Kolkata 3, New York 4, UTC 5,
// Xian 6.
inline constexpr std::string_view kPlaces =
    "Europe/Berlin,Berlin\n"
    "Europe/Berlin,Bern\n"
    "Europe/Berlin,Amsterdam\n"
    "America/New_York,New York\n"
    "Asia/Kolkata,Kolkata\n"
    "Asia/Shanghai,Xian\n";

class WindowFixture : public ::testing::Test {
protected:
    WindowFixture() : m_utc("UTC") {
        g_baseLocation = 0;
        g_remoteLocation = 0;
        m_environment.Set("XDG_CONFIG_HOME", m_config.Path().string());
        WriteData(kZones, kPlaces);
    }

    void WriteData(std::string_view zones, std::string_view places) {
        m_data.Write(kZoneFileName, zones);
        m_data.Write(kLocationsFileName, places);
    }

    COlvantaDlg& Open() {
        const DialogEnvironment environment{m_data.Path(), m_clock, m_messages, &m_opener};
        m_window = std::make_unique<COlvantaDlg>(environment);
        EXPECT_TRUE(m_window->CatalogueLoaded());
        m_window->OnInitDialog();
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        return *m_window;
    }

    template <typename Widget>
    Widget* Control(int id) const {
        auto* widget = m_window->findChild<Widget*>(QString::number(id));
        EXPECT_NE(widget, nullptr) << id;
        return widget;
    }
    PlaceComboBox* BaseList() const { return Control<PlaceComboBox>(COlvantaDlg::kIdBaseList); }
    PlaceComboBox* RemoteList() const { return Control<PlaceComboBox>(COlvantaDlg::kIdRemoteList); }
    // What the labels show, without their mnemonic markers.
    QString BaseLabel() const {
        return ShownText(Control<QLabel>(COlvantaDlg::kIdBaseLabel)->text());
    }
    QString RemoteLabel() const {
        return ShownText(Control<QLabel>(COlvantaDlg::kIdRemoteLabel)->text());
    }
    QString Result() const {
        return Control<QPlainTextEdit>(COlvantaDlg::kIdResult)->toPlainText();
    }
    QString ResultTime() const { return Result().left(5); }
    QString ShownTime() const {
        return Control<QTimeEdit>(COlvantaDlg::kIdTimePicker)->time().toString("HH:mm");
    }

    // Presses `key` as the keyboard does: an open popup, such as a list's
    // suggestions, takes it before the widget with the focus.
    void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QWidget* target = QApplication::activePopupWidget();
        if (target == nullptr) {
            target = QApplication::focusWidget();
        }
        QTest::keyClick(target != nullptr ? target : m_window.get(), key, modifiers);
    }

    // Types `text` where the focus is, and lets the window answer as it does
    // between a person's keys (the suggestions open, and on the offscreen
    // platform take the activation that a desktop would not give them).
    static void TypeKeys(const QString& text) {
        QTest::keyClicks(QApplication::focusWidget(), text);
        QApplication::processEvents();
    }

    // Types `text` into `list`'s text field in place of what it shows, then
    // moves the focus on with Tab.
    void TypeAndLeave(PlaceComboBox* list, const QString& text) {
        list->setFocus(Qt::MouseFocusReason);
        list->lineEdit()->selectAll();
        QTest::keyClick(list->lineEdit(), Qt::Key_Backspace);
        TypeKeys(text);
        PressKey(Qt::Key_Tab);
        QApplication::processEvents();
    }

    // The settings file in the test's configuration directory.
    QString SettingsFile() const {
        return QString::fromStdString((m_config.Path() / "Quandelle/Olvanta.conf").string());
    }
    bool SettingsWritten() const { return std::filesystem::exists(m_config.Path() / "Quandelle"); }
    void PutPosition(const char* name, std::int32_t position) const {
        QSettings(SettingsFile(), QSettings::IniFormat).setValue(QLatin1String(name), position);
    }
    std::int32_t StoredPosition(const char* name) const {
        return QSettings(SettingsFile(), QSettings::IniFormat).value(QLatin1String(name)).toInt();
    }

    void Click(int id) const { QTest::mouseClick(Control<QPushButton>(id), Qt::LeftButton); }

    ScopedTimeZone m_utc;
    TempDir m_data;
    TempDir m_config;
    ScopedEnvironment m_environment;
    RecordingMessageSink m_messages;
    RecordingUrlOpener m_opener;
    FixedClock m_clock{1772725650};  // 2026-03-05T15:47:30Z, a Thursday; 16:47:30 in Amsterdam
    std::unique_ptr<COlvantaDlg> m_window;
};
