#include "controls/CAboutDlg.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <string>

#include "controls/DialogUnits.h"
#include "olvanta/Config.h"
#include "support/RecordingMessageSink.h"
#include "support/RecordingUrlOpener.h"

namespace {

class AboutBoxTest : public ::testing::Test {
protected:
    AboutBoxTest() = default;

    template <typename Widget = QLabel>
    static Widget& Control(CAboutDlg& dialog, const char* name) {
        Widget* widget = dialog.findChild<Widget*>(QString::fromUtf8(name));
        if (widget == nullptr) {
            throw std::runtime_error(std::string("no control ") + name);
        }
        return *widget;
    }
};

TEST_F(AboutBoxTest, ShowsItsCaptionAndTexts) {
    CAboutDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Olvanta v.1.1"));
    EXPECT_EQ(Control(dialog, "version").text(), QStringLiteral("Olvanta Version 1.0"));
    EXPECT_EQ(Control(dialog, "1039").text(), QStringLiteral("See more features at:"));
    EXPECT_EQ(Control(dialog, "1040").text(), QStringLiteral(OLVANTA_WEB_SITE));
    EXPECT_EQ(Control(dialog, "1041").text(), QStringLiteral("Read End User License Agreement"));
    EXPECT_TRUE(Control(dialog, "1038").text().contains(QStringLiteral("Quandelle")));
    // Every data source, with its licence where it asks for attribution.
    const QString credits = Control(dialog, "1042").text() + " " + Control(dialog, "1043").text();
    for (const char* credit : {"IANA", "CLDR", "GeoNames CC BY 3.0", "SimpleMaps CC BY 4.0"}) {
        EXPECT_TRUE(credits.contains(QString::fromUtf8(credit))) << credit;
    }
    EXPECT_FALSE(Control(dialog, "icon").pixmap().isNull());
    EXPECT_FALSE(dialog.windowIcon().isNull());
}

TEST_F(AboutBoxTest, LinksPointAtTheSiteAndTheLicenceAndAreAlwaysUnderlined) {
    CAboutDlg dialog;
    struct Case {
        CHyperLink& link;
        const char* name;
        std::string url;
    };
    const Case cases[] = {
        {dialog.SiteLink(), "1040", OLVANTA_WEB_SITE},
        {dialog.LicenseLink(), "1041", OLVANTA_LICENSE_URL},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(&Control<CHyperLink>(dialog, c.name), &c.link);
        EXPECT_TRUE(c.link.IsAttached()) << c.name;
        EXPECT_EQ(c.link.TargetUrl(), c.url) << c.name;
        EXPECT_EQ(c.link.toolTip().toStdString(), c.url) << c.name;
        EXPECT_EQ(c.link.UnderlineMode(), CHyperLink::kUnderlineAlways) << c.name;
        EXPECT_TRUE(c.link.font().underline()) << c.name;
    }
}

TEST_F(AboutBoxTest, IsLaidOutInDialogUnitsOfItsFont) {
    CAboutDlg dialog;
    const DialogUnits units(dialog.font());
    EXPECT_EQ(dialog.size(), units.ToPixels(235, 113));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());  // not resizable

    struct Case {
        const char* name;
        QRect du;
    };
    const Case statics[] = {
        {"icon", {11, 17, 20, 20}}, {"version", {40, 11, 130, 8}}, {"1038", {39, 98, 169, 8}},
        {"1", {178, 7, 50, 16}},    {"1039", {40, 72, 72, 8}},     {"1042", {40, 34, 169, 8}},
        {"1043", {40, 46, 188, 8}},
    };
    for (const Case& c : statics) {
        const QWidget& widget = Control<QWidget>(dialog, c.name);
        const QRect expected = units.ToPixels(c.du.x(), c.du.y(), c.du.width(), c.du.height());
        EXPECT_EQ(widget.pos(), expected.topLeft()) << c.name;
        EXPECT_EQ(widget.height(), expected.height()) << c.name;
        // A text wider than its box in this font widens the box, never the other way.
        EXPECT_GE(widget.width(), expected.width()) << c.name;
        if (const auto* label = qobject_cast<const QLabel*>(&widget);
            label && widget.width() > expected.width()) {
            EXPECT_EQ(widget.width(), label->fontMetrics().horizontalAdvance(label->text()))
                << c.name;
        }
    }
    // The links keep their left and top edges and take their text's width.
    const Case links[] = {{"1040", {115, 72, 94, 8}}, {"1041", {40, 22, 119, 8}}};
    for (const Case& c : links) {
        const CHyperLink& link = Control<CHyperLink>(dialog, c.name);
        EXPECT_EQ(link.pos(), QPoint(units.ToPixelsX(c.du.x()), units.ToPixelsY(c.du.y())))
            << c.name;
        EXPECT_EQ(link.width(), link.fontMetrics().horizontalAdvance(link.text())) << c.name;
    }
}

TEST_F(AboutBoxTest, EveryTextFitsItsControlAndNoControlsOverlap) {
    CAboutDlg dialog;
    for (const char* name : {"version", "1038", "1039", "1042", "1043"}) {
        const QLabel& label = Control(dialog, name);
        EXPECT_LE(label.fontMetrics().horizontalAdvance(label.text()), label.width())
            << name << ": " << label.text().toStdString();
        EXPECT_LE(label.fontMetrics().height(), label.height() + 1) << name;
    }
    const QList<QWidget*> children = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (const QWidget* a : children) {
        EXPECT_TRUE(dialog.rect().contains(a->geometry())) << a->objectName().toStdString();
        for (const QWidget* b : children) {
            if (a != b) {
                EXPECT_FALSE(a->geometry().intersects(b->geometry()))
                    << a->objectName().toStdString() << " overlaps "
                    << b->objectName().toStdString();
            }
        }
    }
}

TEST_F(AboutBoxTest, OkHoldsTheFocusAndIsTheOnlyTabStop) {
    CAboutDlg dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QApplication::setActiveWindow(&dialog);
    QPushButton& ok = Control<QPushButton>(dialog, "1");
    EXPECT_TRUE(QTest::qWaitFor([&] { return ok.hasFocus(); }, 2000));
    EXPECT_TRUE(ok.isDefault());
    EXPECT_EQ(ok.text(), QStringLiteral("OK"));
    for (const QWidget* child : dialog.findChildren<QWidget*>()) {
        if (child != &ok) {
            EXPECT_FALSE(child->focusPolicy() & Qt::TabFocus) << child->objectName().toStdString();
        }
    }
}

TEST_F(AboutBoxTest, EnterAcceptsAndEscapeRejects) {
    struct Case {
        Qt::Key key;
        QDialog::DialogCode result;
    };
    for (const Case c :
         {Case{Qt::Key_Return, QDialog::Accepted}, Case{Qt::Key_Enter, QDialog::Accepted},
          Case{Qt::Key_Escape, QDialog::Rejected}}) {
        CAboutDlg dialog;
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QApplication::setActiveWindow(&dialog);
        dialog.setResult(-1);
        QTest::keyClick(&Control<QPushButton>(dialog, "1"), c.key);
        EXPECT_FALSE(dialog.isVisible()) << c.key;
        EXPECT_EQ(dialog.result(), c.result) << c.key;
    }
    CAboutDlg dialog;
    dialog.show();
    QTest::mouseClick(&Control<QPushButton>(dialog, "1"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(AboutBoxTest, AssistiveTechnologyFindsANameForEveryPartAndFollowsTheLinks) {
    CAboutDlg dialog;
    RecordingUrlOpener opener;
    dialog.SiteLink().SetOpener(opener);
    dialog.LicenseLink().SetOpener(opener);
    dialog.show();
    for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(child);
        ASSERT_NE(access, nullptr);
        EXPECT_FALSE(access->text(QAccessible::Name).isEmpty())
            << child->objectName().toStdString();
    }
    // A link is announced as one, by what it leads to rather than by its
    // address, and its press action opens it.
    for (CHyperLink* link : {&dialog.SiteLink(), &dialog.LicenseLink()}) {
        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(link);
        EXPECT_EQ(access->role(), QAccessible::Link) << link->objectName().toStdString();
        EXPECT_NE(access->text(QAccessible::Name).toStdString(), link->TargetUrl());
        access->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_EQ(opener.opened.back(), link->TargetUrl());
    }
    EXPECT_EQ(opener.opened.size(), 2u);
}

TEST_F(AboutBoxTest, EachOpeningStartsUnvisitedAndAFailedLinkKeepsTheBoxOpen) {
    RecordingUrlOpener opener;
    RecordingMessageSink messages;
    {
        CAboutDlg dialog;
        dialog.show();
        dialog.SiteLink().SetOpener(opener);
        dialog.SiteLink().SetMessageSink(messages);
        dialog.SiteLink().SetBeep([] {});
        QTest::mouseClick(&dialog.SiteLink(), Qt::LeftButton);
        EXPECT_EQ(opener.opened, std::vector<std::string>{OLVANTA_WEB_SITE});
        EXPECT_TRUE(dialog.SiteLink().IsVisited());

        opener.desktopOpens = false;
        dialog.LicenseLink().SetOpener(opener);
        dialog.LicenseLink().SetMessageSink(messages);
        dialog.LicenseLink().SetBeep([] {});
        QTest::mouseClick(&dialog.LicenseLink(), Qt::LeftButton);
        EXPECT_EQ(opener.opened.back(), OLVANTA_LICENSE_URL);
        EXPECT_EQ(messages.Messages().size(), 1u);
        EXPECT_TRUE(dialog.isVisible());
    }
    CAboutDlg reopened;
    EXPECT_FALSE(reopened.SiteLink().IsVisited());
    EXPECT_FALSE(reopened.LicenseLink().IsVisited());
}

}  // namespace
