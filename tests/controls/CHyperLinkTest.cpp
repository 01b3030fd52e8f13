#include "controls/CHyperLink.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QImage>
#include <QMouseEvent>
#include <QStyle>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "controls/ReadableColor.h"
#include "support/RecordingMessageSink.h"
#include "support/RecordingUrlOpener.h"

namespace {

const QColor kLinkColor(0, 0, 238);
const QColor kVisitedColor(85, 26, 139);
const QRect kTemplateRect(20, 30, 200, 40);

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
    int paints = 0;
};

class HyperLinkTest : public ::testing::Test {
protected:
    HyperLinkTest() {
        m_window = std::make_unique<QWidget>();
        m_window->resize(400, 200);
        m_link = new CHyperLink(m_window.get());  // owned by the window
        m_link->setGeometry(kTemplateRect);
        m_link->SetOpener(m_opener);
        m_link->SetMessageSink(m_messages);
        m_link->SetBeep([this] { ++m_beeps; });
    }

    CHyperLink& Link() { return *m_link; }
    QWidget& Window() { return *m_window; }

    void ShowWindow() {
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }

    CHyperLink& AttachedLink(const QString& text = QStringLiteral("https://example.org/a")) {
        m_link->setText(text);
        m_link->PreSubclassWindow();
        return *m_link;
    }

    void PointAt(const QPoint& local) { QCursor::setPos(m_link->mapToGlobal(local)); }

    void MoveOver() {
        const QPoint centre = m_link->rect().center();
        PointAt(centre);
        QMouseEvent move(QEvent::MouseMove, centre, m_link->mapToGlobal(centre), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(m_link, &move);
    }

    void PointOutside() { PointAt(QPoint(-50, -50)); }

    bool WaitForHoverEnd() {
        return QTest::qWaitFor([this] { return !m_link->IsHoverTimerActive(); }, 5000);
    }

    void Click(Qt::MouseButton button = Qt::LeftButton, QPoint releaseAt = QPoint(-1, -1)) {
        const QPoint centre = m_link->rect().center();
        if (releaseAt == QPoint(-1, -1)) {
            releaseAt = centre;
        }
        QMouseEvent press(QEvent::MouseButtonPress, centre, m_link->mapToGlobal(centre), button,
                          button, Qt::NoModifier);
        QApplication::sendEvent(m_link, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, releaseAt, m_link->mapToGlobal(releaseAt),
                            button, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(m_link, &release);
    }

    RecordingUrlOpener m_opener;
    RecordingMessageSink m_messages;
    int m_beeps = 0;

private:
    std::unique_ptr<QWidget> m_window;
    CHyperLink* m_link = nullptr;
};

TEST_F(HyperLinkTest, StartsUnattachedUnvisitedAndInLinkColour) {
    EXPECT_FALSE(Link().IsAttached());
    EXPECT_FALSE(Link().IsHovering());
    EXPECT_FALSE(Link().IsVisited());
    EXPECT_EQ(Link().UnderlineMode(), CHyperLink::kUnderlineWhileHovered);
    EXPECT_EQ(Link().TargetUrl(), "");
    EXPECT_EQ(Link().TextColor(), kLinkColor);
    EXPECT_EQ(Link().alignment(), Qt::AlignLeft | Qt::AlignTop);
}

TEST_F(HyperLinkTest, AttachmentTakesTheUrlFromTheTextAndTheTextFromTheUrl) {
    struct Case {
        const char* name;
        QString text;
        std::string urlBefore;
        QString expectedText;
        std::string expectedUrl;
    };
    const Case cases[] = {
        {"text_only", "https://a.example/", "", "https://a.example/", "https://a.example/"},
        {"url_only", "", "https://b.example/", "https://b.example/", "https://b.example/"},
        {"both_empty", "", "", "", ""},
        {"both_set", "Caption", "https://c.example/", "Caption", "https://c.example/"},
    };
    for (const Case& c : cases) {
        QWidget window;
        CHyperLink link(&window);
        link.setText(c.text);
        if (!c.urlBefore.empty()) {
            link.SetTargetUrl(c.urlBefore);
            EXPECT_EQ(link.toolTip(), "") << c.name;  // no tooltip before attachment
        }
        link.PreSubclassWindow();
        EXPECT_TRUE(link.IsAttached()) << c.name;
        EXPECT_EQ(link.text(), c.expectedText) << c.name;
        EXPECT_EQ(link.TargetUrl(), c.expectedUrl) << c.name;
        EXPECT_EQ(link.toolTip().toStdString(), c.expectedUrl) << c.name;
        EXPECT_EQ(link.cursor().shape(), Qt::PointingHandCursor) << c.name;
        EXPECT_TRUE(link.hasMouseTracking()) << c.name;
    }
}

TEST_F(HyperLinkTest, TheTooltipShowsTheTextUntilATargetIsSet) {
    CHyperLink& link = AttachedLink(QStringLiteral("Read the licence"));
    EXPECT_EQ(link.toolTip(), QStringLiteral("Read the licence"));
    link.SetTargetUrl("https://olvanta.example.org/license");
    EXPECT_EQ(link.toolTip(), QStringLiteral("https://olvanta.example.org/license"));
    EXPECT_EQ(link.text(), QStringLiteral("Read the licence"));
    EXPECT_EQ(link.TargetUrl(), "https://olvanta.example.org/license");
}

TEST_F(HyperLinkTest, TooltipsOfOddAddressesStayReadableText) {
    CHyperLink& link = AttachedLink();
    link.SetTargetUrl(std::string(5000, 'x'));
    EXPECT_EQ(link.toolTip().size(), CHyperLink::kMaxToolTipLength);
    EXPECT_TRUE(link.toolTip().endsWith(QStringLiteral("...")));

    link.SetTargetUrl("https://e.example/<b>bold</b>");
    EXPECT_TRUE(link.toolTip().contains(QStringLiteral("&lt;b&gt;bold&lt;/b&gt;")));
    EXPECT_FALSE(link.toolTip().contains(QStringLiteral("<b>")));
    EXPECT_EQ(link.TargetUrl(), "https://e.example/<b>bold</b>");  // the address itself is kept
}

TEST_F(HyperLinkTest, AModeSetBeforeAttachmentIsReset) {
    Link().SetUnderlineMode(CHyperLink::kUnderlineAlways);
    EXPECT_EQ(Link().UnderlineMode(), CHyperLink::kUnderlineAlways);
    EXPECT_FALSE(Link().font().underline());  // nothing to apply it to yet
    AttachedLink();
    EXPECT_EQ(Link().UnderlineMode(), CHyperLink::kUnderlineWhileHovered);
    EXPECT_FALSE(Link().font().underline());
    Link().SetUnderlineMode(CHyperLink::kUnderlineAlways);
    EXPECT_TRUE(Link().font().underline());
    Link().SetUnderlineMode(0);
    EXPECT_FALSE(Link().font().underline());

    // Attaching again must not take the underlined font for the plain one.
    Link().SetUnderlineMode(CHyperLink::kUnderlineAlways);
    Link().PreSubclassWindow();
    Link().SetUnderlineMode(0);
    EXPECT_FALSE(Link().font().underline());
}

TEST_F(HyperLinkTest, SettingTheModeInForceRepaintsNothing) {
    CHyperLink& link = AttachedLink();
    ShowWindow();
    PaintCounter counter;
    link.installEventFilter(&counter);
    QTest::qWait(50);
    counter.paints = 0;

    link.SetUnderlineMode(CHyperLink::kUnderlineWhileHovered);
    QTest::qWait(50);
    EXPECT_EQ(counter.paints, 0);

    link.SetUnderlineMode(CHyperLink::kUnderlineAlways);
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 2000));
    link.removeEventFilter(&counter);
}

struct HoverCase {
    const char* name;
    int mode;
    bool underlinedAtRest;
    bool underlinedWhileHovered;
};

void PrintTo(const HoverCase& c, std::ostream* out) {
    *out << c.name;
}

class HoverTest : public HyperLinkTest, public ::testing::WithParamInterface<HoverCase> {};

TEST_P(HoverTest, HoverLastsUntilTheFirstTickThatFindsThePointerOutside) {
    const HoverCase& c = GetParam();
    CHyperLink& link = AttachedLink();
    link.SetUnderlineMode(c.mode);
    ShowWindow();
    EXPECT_EQ(link.font().underline(), c.underlinedAtRest);
    EXPECT_FALSE(link.IsHoverTimerActive());  // an idle link polls nothing

    MoveOver();
    EXPECT_TRUE(link.IsHovering());
    const QColor hoverColor = link.TextColor();
    EXPECT_NE(hoverColor, kLinkColor);
    EXPECT_EQ(link.font().underline(), c.underlinedWhileHovered);
    ASSERT_TRUE(link.IsHoverTimerActive());

    // While the pointer stays, ticks change nothing.
    QTest::qWait(3 * CHyperLink::kHoverPollInterval.count());
    EXPECT_TRUE(link.IsHovering());
    EXPECT_TRUE(link.IsHoverTimerActive());

    // Leaving shows only at the next tick.
    PointOutside();
    EXPECT_TRUE(link.IsHovering());
    EXPECT_EQ(link.TextColor(), hoverColor);
    ASSERT_TRUE(WaitForHoverEnd());
    EXPECT_FALSE(link.IsHovering());
    EXPECT_EQ(link.TextColor(), kLinkColor);
    EXPECT_EQ(link.font().underline(), c.underlinedAtRest);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, HoverTest,
    ::testing::Values(HoverCase{"while_hovered", CHyperLink::kUnderlineWhileHovered, false, true},
                      HoverCase{"always", CHyperLink::kUnderlineAlways, true, true},
                      HoverCase{"never", 0, false, false}, HoverCase{"never_too", 7, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HyperLinkTest, ASuccessfulClickShowsTheVisitedColourAtOnce) {
    CHyperLink& link = AttachedLink();
    ShowWindow();
    MoveOver();
    const QColor hoverColor = link.TextColor();
    Click();
    EXPECT_EQ(m_opener.opened, std::vector<std::string>{"https://example.org/a"});
    EXPECT_TRUE(link.IsVisited());
    EXPECT_FALSE(link.IsHovering());
    EXPECT_EQ(link.TextColor(), kVisitedColor);
    EXPECT_EQ(m_beeps, 0);
    EXPECT_TRUE(m_messages.Messages().empty());
    EXPECT_TRUE(link.IsHoverTimerActive());  // the click leaves the poll running

    MoveOver();  // the next move brings the hover colour back
    EXPECT_EQ(link.TextColor(), hoverColor);
    PointOutside();
    ASSERT_TRUE(WaitForHoverEnd());
    EXPECT_EQ(link.TextColor(), kVisitedColor);
}

TEST_F(HyperLinkTest, OnlyALeftClickOnTheAttachedLinkOpensIt) {
    Link().setText(QStringLiteral("https://example.org/a"));
    Click();  // not attached yet: a plain static text
    EXPECT_TRUE(m_opener.opened.empty());

    AttachedLink();
    Click(Qt::RightButton);
    Click(Qt::LeftButton, QPoint(-5, -5));  // released outside
    EXPECT_TRUE(m_opener.opened.empty());
    Click();
    EXPECT_EQ(m_opener.opened.size(), 1u);
}

// What a screen reader or a switch device works with: the link's accessible
// interface, whose press action must do exactly what a click does.
TEST_F(HyperLinkTest, AssistiveTechnologySeesALinkWhosePressActsAsAClick) {
    struct Case {
        const char* name;
        bool attached;
        bool desktopOpens;
        std::size_t opened;
        bool visited;
        std::size_t messages;
    };
    const Case cases[] = {
        {"not_attached", false, true, 0, false, 0},
        {"opened", true, true, 1, true, 0},
        {"failed", true, false, 1, false, 1},
    };
    for (const Case& c : cases) {
        QWidget window;
        auto* link = new CHyperLink(&window);  // owned by the window
        link->setGeometry(kTemplateRect);
        link->setText(QStringLiteral("https://example.org/a"));
        RecordingUrlOpener opener;
        opener.desktopOpens = c.desktopOpens;
        RecordingMessageSink messages;
        int beeps = 0;
        link->SetOpener(opener);
        link->SetMessageSink(messages);
        link->SetBeep([&beeps] { ++beeps; });
        if (c.attached) {
            link->PreSubclassWindow();
        }
        window.show();

        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(link);
        ASSERT_NE(access, nullptr) << c.name;
        EXPECT_EQ(access->role(), QAccessible::Link) << c.name;
        EXPECT_EQ(access->text(QAccessible::Name), link->text()) << c.name;
        EXPECT_EQ(access->text(QAccessible::Value).toStdString(), link->TargetUrl()) << c.name;
        QAccessibleActionInterface* actions = access->actionInterface();
        ASSERT_NE(actions, nullptr) << c.name;
        EXPECT_EQ(actions->actionNames(), QStringList{QAccessibleActionInterface::pressAction()})
            << c.name;

        actions->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_EQ(opener.opened.size(), c.opened) << c.name;
        EXPECT_EQ(link->IsVisited(), c.visited) << c.name;
        EXPECT_EQ(messages.Messages().size(), c.messages) << c.name;
        EXPECT_EQ(beeps, static_cast<int>(c.messages)) << c.name;
    }
}

TEST_F(HyperLinkTest, AnAccessibleNameTakesThePlaceOfTheAddressAsText) {
    CHyperLink& link = AttachedLink(QStringLiteral("https://example.org/a"));
    link.setAccessibleName(QStringLiteral("Example site"));
    QAccessibleInterface* access = QAccessible::queryAccessibleInterface(&link);
    ASSERT_NE(access, nullptr);
    EXPECT_EQ(access->text(QAccessible::Name), QStringLiteral("Example site"));
    EXPECT_EQ(access->text(QAccessible::Value), QStringLiteral("https://example.org/a"));
    // Other actions are not the link's to run.
    access->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(m_opener.opened.empty());
}

// What a link shows in an image of it: the colour behind its text (the one
// that covers most pixels) and the text's own colour (the one that stands out
// most from it; antialiasing only mixes it with the background).
struct ShownColors {
    QColor background;
    QColor text;
};

ShownColors ColorsShown(const QImage& image) {
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ++counts[image.pixel(x, y)];
        }
    }
    const auto most = std::max_element(counts.begin(), counts.end(),
                                       [](auto a, auto b) { return a.second < b.second; });
    ShownColors shown{QColor(most->first), QColor(most->first)};
    for (const auto& [pixel, count] : counts) {
        if (ContrastRatio(QColor(pixel), shown.background) >
            ContrastRatio(shown.text, shown.background)) {
            shown.text = QColor(pixel);
        }
    }
    return shown;
}

QPalette WithColors(QPalette palette,
                    std::initializer_list<std::pair<QPalette::ColorRole, QColor>> colors) {
    for (const auto& [role, color] : colors) {
        palette.setColor(role, color);
    }
    return palette;
}

TEST_F(HyperLinkTest, EveryStateIsReadableOnTheBackgroundOfItsWindow) {
    // The measure itself: black on white is 21:1, a colour on itself 1:1.
    ASSERT_NEAR(ContrastRatio(Qt::black, Qt::white), 21.0, 1e-6);
    ASSERT_NEAR(ContrastRatio(kLinkColor, kLinkColor), 1.0, 1e-6);

    const QPalette light = QApplication::style()->standardPalette();
    struct Case {
        const char* name;
        QPalette palette;
        std::optional<QColor> link, hover, visited;  // none: any readable colour
    };
    const Case cases[] = {
        // Pure red reaches only 3.5:1 on a light grey window, so hovering
        // darkens it.
        {"light", light, kLinkColor, std::nullopt, kVisitedColor},
        {"dark_fusion",
         WithColors(light, {{QPalette::Window, QColor(53, 53, 53)},
                            {QPalette::WindowText, Qt::white},
                            {QPalette::Base, QColor(25, 25, 25)},
                            {QPalette::Button, QColor(53, 53, 53)},
                            {QPalette::ButtonText, Qt::white},
                            {QPalette::Link, QColor(42, 130, 218)},
                            {QPalette::Highlight, QColor(42, 130, 218)}}),
         std::nullopt, std::nullopt, std::nullopt},
        {"dark_with_readable_link_colours",
         WithColors(light, {{QPalette::Window, QColor(30, 30, 30)},
                            {QPalette::Link, QColor(138, 180, 248)},
                            {QPalette::LinkVisited, QColor(197, 138, 249)}}),
         QColor(138, 180, 248), std::nullopt, QColor(197, 138, 249)},
        {"button_unlike_window",
         WithColors(light, {{QPalette::Button, QColor(10, 200, 30)},
                            {QPalette::Window, QColor(250, 250, 250)}}),
         kLinkColor, std::nullopt, kVisitedColor},
    };
    CHyperLink& link = AttachedLink(QStringLiteral("HHHH IIII"));
    link.SetUnderlineMode(CHyperLink::kUnderlineAlways);  // a solid line in the text's colour
    ShowWindow();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // As when the desktop switches its theme while the program runs.
        Window().setPalette(c.palette);
        const auto check = [&](const char* state, const std::optional<QColor>& expected) {
            const ShownColors shown = ColorsShown(link.grab().toImage());
            EXPECT_EQ(shown.background, c.palette.color(QPalette::Window)) << state;
            EXPECT_GE(ContrastRatio(shown.text, shown.background), kReadableContrast) << state;
            if (expected) {
                EXPECT_EQ(shown.text, *expected) << state;
            }
            return shown.text;
        };
        const QColor unvisited = check("link", c.link);
        MoveOver();
        const QColor hover = check("hover", c.hover);
        Click();  // opened: visited, and the hover state ends
        const QColor visited = check("visited", c.visited);
        EXPECT_NE(unvisited, hover);
        EXPECT_NE(unvisited, visited);
        EXPECT_NE(hover, visited);

        m_opener.desktopOpens = false;  // a failed open makes it unvisited again
        Click();
        m_opener.desktopOpens = true;
    }
}

struct FitCase {
    const char* name;
    Qt::Alignment alignment;
};

void PrintTo(const FitCase& c, std::ostream* out) {
    *out << c.name;
}

class FitTest : public HyperLinkTest, public ::testing::WithParamInterface<FitCase> {};

TEST_P(FitTest, FitsToTheTextKeepingTheAlignedEdge) {
    const FitCase& c = GetParam();
    Link().setAlignment(c.alignment);
    CHyperLink& link = AttachedLink(QStringLiteral("Read End User License Agreement"));
    QFont underlined = link.font();
    underlined.setUnderline(true);
    const QFontMetrics metrics(underlined);

    const auto check = [&](const QString& what) {
        const QRect fitted = link.geometry();
        if (c.alignment & Qt::AlignHCenter) {  // both edges move by the same rounded amount
            EXPECT_LE(std::abs(fitted.width() - metrics.horizontalAdvance(link.text())), 1);
        } else {
            EXPECT_EQ(fitted.width(), metrics.horizontalAdvance(link.text())) << what.toStdString();
        }
        if (c.alignment & Qt::AlignHCenter) {
            EXPECT_LE(std::abs(fitted.center().x() - kTemplateRect.center().x()), 1);
        } else if (c.alignment & Qt::AlignRight) {
            EXPECT_EQ(fitted.right(), kTemplateRect.right());
        } else {
            EXPECT_EQ(fitted.left(), kTemplateRect.left());
        }
        if (c.alignment & Qt::AlignVCenter) {
            EXPECT_LE(std::abs(fitted.center().y() - kTemplateRect.center().y()), 1);
            EXPECT_LE(std::abs(fitted.height() - metrics.height()), 1);
        } else {
            EXPECT_EQ(fitted.top(), kTemplateRect.top());
            EXPECT_EQ(fitted.height(), metrics.height());
        }
    };
    check(QStringLiteral("at attachment"));

    // A new target fits the link again, to its text rather than the address.
    link.setText(QStringLiteral("Read"));
    link.SetTargetUrl("https://olvanta.example.org/a/very/long/address/indeed");
    if (!(c.alignment & Qt::AlignHCenter)) {  // a centre moves by rounding each time
        check(QStringLiteral("after SetTargetUrl"));
    }
    EXPECT_LE(std::abs(link.width() - metrics.horizontalAdvance(QStringLiteral("Read"))), 1);
}

INSTANTIATE_TEST_SUITE_P(Alignments, FitTest,
                         ::testing::Values(FitCase{"left_top", Qt::AlignLeft | Qt::AlignTop},
                                           FitCase{"right_top", Qt::AlignRight | Qt::AlignTop},
                                           FitCase{"centre_top", Qt::AlignHCenter | Qt::AlignTop},
                                           FitCase{"left_middle", Qt::AlignLeft | Qt::AlignVCenter},
                                           FitCase{"centre_middle", Qt::AlignCenter}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
