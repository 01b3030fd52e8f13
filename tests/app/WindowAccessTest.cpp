// The window without a mouse, for assistive technology, and in large fonts.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <set>
#include <vector>

#include "app/WindowFixture.h"
#include "controls/CAboutDlg.h"
#include "olvanta/Config.h"

namespace {

// The tab stops of the window in the order of its layout.
const std::vector<int> kTabStops{
    COlvantaDlg::kIdBaseList, COlvantaDlg::kIdRemoteList,  COlvantaDlg::kIdTimePicker,
    COlvantaDlg::kIdResult,   COlvantaDlg::kIdNow,         COlvantaDlg::kIdMidnight,
    COlvantaDlg::kIdNoon,     COlvantaDlg::kIdTopLeftEdit, COlvantaDlg::kIdTopRightEdit,
};

class WindowAccessTest : public WindowFixture {
protected:
    // The window's control that holds the keyboard focus: a list's text
    // field or the result's viewport counts as its control.
    QWidget* FocusedControl() const {
        QWidget* widget = QApplication::focusWidget();
        while (widget != nullptr && widget->parentWidget() != m_window.get()) {
            widget = widget->parentWidget();
        }
        return widget;
    }
    int FocusedId() const {
        const QWidget* control = FocusedControl();
        return control != nullptr ? control->objectName().toInt() : -1;
    }

    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        PressKey(static_cast<Qt::Key>(key), modifiers);
        QApplication::processEvents();
    }

    // Presses `key` once and returns the control that then has the focus.
    int MoveFocus(int key) {
        Press(key);
        return FocusedId();
    }

    // Tabs forward until control `id` has the focus.
    void TabTo(int id) {
        for (std::size_t step = 0; step <= kTabStops.size() && FocusedId() != id; ++step) {
            MoveFocus(Qt::Key_Tab);
        }
        ASSERT_EQ(FocusedId(), id);
    }

    QLabel* Label(int id) const { return Control<QLabel>(id); }
};

TEST_F(WindowAccessTest, TabAndShiftTabVisitEveryStopInLayoutOrderAndWrap) {
    Open();
    ASSERT_EQ(FocusedId(), COlvantaDlg::kIdBaseList);
    std::vector<int> forward;
    for (std::size_t i = 0; i < kTabStops.size(); ++i) {
        forward.push_back(MoveFocus(Qt::Key_Tab));
    }
    std::vector<int> expected(kTabStops.begin() + 1, kTabStops.end());
    expected.push_back(kTabStops.front());
    EXPECT_EQ(forward, expected);

    std::vector<int> backward;
    for (std::size_t i = 0; i < kTabStops.size(); ++i) {
        backward.push_back(MoveFocus(Qt::Key_Backtab));
    }
    // Back from the first stop: the last, and so on down to the first.
    expected.assign(kTabStops.rbegin(), kTabStops.rend());
    EXPECT_EQ(backward, expected);
}

// As in the desktop's time pickers: Tab (above) leaves the time entry at
// once, Left and Right go between hour and minute, and the arrows wrap round
// within the field.
TEST_F(WindowAccessTest, TheTimeEntryWrapsAndMovesBetweenHourAndMinute) {
    Open();
    Control<QTimeEdit>(COlvantaDlg::kIdTimePicker)->setTime(QTime(23, 59));
    TabTo(COlvantaDlg::kIdTimePicker);
    struct Step {
        Qt::Key key;
        const char* shown;
    };
    const Step steps[] = {
        {Qt::Key_Up, "00:59"},   {Qt::Key_Down, "23:59"},  {Qt::Key_Left, "23:59"},
        {Qt::Key_Up, "00:59"},   {Qt::Key_Right, "00:59"}, {Qt::Key_Up, "00:00"},
        {Qt::Key_Down, "00:59"}, {Qt::Key_Right, "00:59"}, {Qt::Key_Up, "00:00"},
        {Qt::Key_Left, "00:00"}, {Qt::Key_Down, "23:00"},
    };
    for (const Step& step : steps) {
        Press(step.key);
        EXPECT_EQ(ShownTime(), step.shown) << step.key << " to " << step.shown;
    }
    EXPECT_EQ(FocusedId(), COlvantaDlg::kIdTimePicker);
}

TEST_F(WindowAccessTest, LabelMnemonicsReachTheirListsWhateverTheLabelsSay) {
    Open();
    struct Case {
        int label;
        int list;
        Qt::Key key;
    };
    const Case cases[] = {
        {COlvantaDlg::kIdRemoteLabel, COlvantaDlg::kIdRemoteList, Qt::Key_R},
        {COlvantaDlg::kIdBaseLabel, COlvantaDlg::kIdBaseList, Qt::Key_B},
    };
    // First with the labels as the first result wrote them, then after a
    // result that rewrites both (New York over Berlin in summer, with DST).
    for (const bool rewritten : {false, true}) {
        if (rewritten) {
            m_clock.seconds = 1782907200;  // 2026-07-01T12:00:00Z
            Control<QPushButton>(COlvantaDlg::kIdNow)->click();
            RemoteList()->setFocus();
            Press(Qt::Key_Down);  // Berlin
            BaseList()->setFocus();
            for (int i = 0; i < 4; ++i) {
                Press(Qt::Key_Down);  // on to New York
            }
            ASSERT_EQ(BaseLabel(), "Base location: GMT-5   DST:1");
            ASSERT_EQ(RemoteLabel(), "Remote location: GMT+1   DST:1");
        }
        for (const Case& c : cases) {
            QLabel* label = Label(c.label);
            EXPECT_EQ(label->buddy(), Control<QWidget>(c.list)) << c.label;
            EXPECT_EQ(QKeySequence::mnemonic(label->text()), QKeySequence(Qt::ALT | c.key))
                << label->text().toStdString();
            Control<QWidget>(COlvantaDlg::kIdNoon)->setFocus();
            Press(c.key, Qt::AltModifier);
            EXPECT_EQ(FocusedId(), c.list) << label->text().toStdString();
        }
    }
}

TEST_F(WindowAccessTest, EveryControlHasAnAccessibleNameAndTheListsAreLabelled) {
    Open();
    std::set<QString> names;
    std::vector<int> named = kTabStops;
    named.push_back(COlvantaDlg::kIdLink);
    for (const int id : named) {
        QWidget* control = Control<QWidget>(id);
        const QString name = control->accessibleName();
        EXPECT_FALSE(name.isEmpty()) << id;
        EXPECT_TRUE(names.insert(name).second) << id << " repeats " << name.toStdString();
    }
    // Assistive technology reads a list's label through the labelled-by
    // relation; the list's own name is its label's, without the offsets.
    for (const auto& [labelId, listId] :
         {std::pair{COlvantaDlg::kIdBaseLabel, COlvantaDlg::kIdBaseList},
          std::pair{COlvantaDlg::kIdRemoteLabel, COlvantaDlg::kIdRemoteList}}) {
        QWidget* list = Control<QWidget>(listId);
        QAccessibleInterface* label = QAccessible::queryAccessibleInterface(Label(labelId));
        bool labelled = false;
        for (const auto& relation :
             QAccessible::queryAccessibleInterface(list)->relations(QAccessible::Label)) {
            labelled = labelled || relation.first == label;
        }
        EXPECT_TRUE(labelled) << listId;
        EXPECT_EQ(label->text(QAccessible::Name), ShownText(Label(labelId)->text())) << labelId;
        EXPECT_TRUE(ShownText(Label(labelId)->text()).startsWith(list->accessibleName() + ":"))
            << listId;
    }
    QAccessibleInterface* link =
        QAccessible::queryAccessibleInterface(Control<QWidget>(COlvantaDlg::kIdLink));
    EXPECT_EQ(link->role(), QAccessible::Link);
    EXPECT_EQ(link->text(QAccessible::Value), QStringLiteral(OLVANTA_WEB_SITE));
}

TEST_F(WindowAccessTest, TheWindowAndTheAboutBoxWorkFromTheKeyboardAlone) {
    PutPosition(kRemoteValue, 0);
    Open();
    // Alt+R, type the beginning of a place, Tab: the place is found.
    Press(Qt::Key_R, Qt::AltModifier);
    ASSERT_EQ(FocusedId(), COlvantaDlg::kIdRemoteList);
    Press(Qt::Key_A, Qt::ControlModifier);
    TypeKeys("kol");
    Press(Qt::Key_Tab);
    EXPECT_EQ(RemoteList()->currentText(), "Kolkata");
    // Tab leads on to the time entry; Up raises the hour.
    ASSERT_EQ(FocusedId(), COlvantaDlg::kIdTimePicker);
    Press(Qt::Key_Up);
    EXPECT_EQ(ShownTime(), "17:47");
    EXPECT_EQ(ResultTime(), "22:17");  // Amsterdam 17:47 in winter is 16:47 GMT
    // Space presses the button with the focus.
    TabTo(COlvantaDlg::kIdMidnight);
    Press(Qt::Key_Space);
    EXPECT_EQ(ShownTime(), "00:00");
    TabTo(COlvantaDlg::kIdNow);
    Press(Qt::Key_Space);
    EXPECT_EQ(ShownTime(), "16:47");

    // F1 opens the About box with OK in the focus; Escape closes it again.
    bool okHadFocus = false;
    bool aboutOpened = false;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
        if (about == nullptr) {
            return;
        }
        aboutOpened = true;
        QApplication::setActiveWindow(about);
        okHadFocus = QTest::qWaitFor(
            [about] { return QApplication::focusWidget() == about->findChild<QPushButton*>("1"); },
            2000);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    Press(Qt::Key_F1);
    EXPECT_TRUE(aboutOpened);
    EXPECT_TRUE(okHadFocus);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(m_window->isVisible());

    // Return in a list closes the window, which keeps the places (on a
    // focused button Return would click the button).
    QApplication::setActiveWindow(m_window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    Press(Qt::Key_B, Qt::AltModifier);
    ASSERT_EQ(FocusedId(), COlvantaDlg::kIdBaseList);
    Press(Qt::Key_Return);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(StoredPosition(kRemoteValue), 3);
}

// Larger fonts, as on a high-resolution screen with a larger font setting:
// the layout grows with the font, and no text may be cut off.
class WindowFontTest : public WindowAccessTest, public ::testing::WithParamInterface<double> {
protected:
    WindowFontTest() : m_applicationFont(QApplication::font()) {
        QFont font = m_applicationFont;
        font.setPointSizeF(font.pointSizeF() * GetParam());
        QApplication::setFont(font);
    }
    ~WindowFontTest() override { QApplication::setFont(m_applicationFont); }

private:
    QFont m_applicationFont;
};

TEST_P(WindowFontTest, EveryTextFitsItsControl) {
    m_clock.seconds = 1782907200;  // 2026-07-01T12:00:00Z: both labels show DST
    PutPosition(kBaseValue, 3);    // Kolkata: the longest offset
    PutPosition(kRemoteValue, 4);  // New York
    Open();
    ASSERT_EQ(BaseLabel(), "Base location: GMT+5:30");
    ASSERT_EQ(RemoteLabel(), "Remote location: GMT-5   DST:1");

    for (QLabel* label : m_window->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        const QString shown = ShownText(label->text());
        const QFontMetrics metrics = label->fontMetrics();
        EXPECT_LE(metrics.horizontalAdvance(shown), label->width()) << shown.toStdString();
        EXPECT_LE(metrics.height(), label->height() + 1) << shown.toStdString();
    }
    for (QPushButton* button : m_window->findChildren<QPushButton*>()) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect contents =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const QFontMetrics metrics = button->fontMetrics();
        EXPECT_LE(metrics.horizontalAdvance(button->text()), contents.width())
            << button->text().toStdString();
        EXPECT_LE(metrics.height(), contents.height()) << button->text().toStdString();
    }
    auto* picker = Control<QTimeEdit>(COlvantaDlg::kIdTimePicker);
    EXPECT_LE(picker->minimumSizeHint().width(), picker->width());
    auto* result = Control<QPlainTextEdit>(COlvantaDlg::kIdResult);
    const QFontMetrics metrics = result->fontMetrics();
    const QStringList lines = Result().split('\n');
    EXPECT_LE(metrics.lineSpacing() * lines.size(), result->viewport()->height());
    for (const QString& line : lines) {
        EXPECT_LT(metrics.horizontalAdvance(line), result->viewport()->width())
            << line.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, WindowFontTest, ::testing::Values(1.0, 1.5, 2.0),
                         [](const auto& info) {
                             return "x" + std::to_string(static_cast<int>(info.param * 10));
                         });

}  // namespace
