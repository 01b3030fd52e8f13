#include "controls/Mnemonic.h"

#include <gtest/gtest.h>

#include <QKeySequence>

namespace {

TEST(MnemonicTest, MarksTheFirstLetterOrDigitAndKeepsTheShownText) {
    struct Case {
        const char16_t* text;
        const char16_t* marked;
        Qt::Key key;  // the mnemonic Qt derives; 0 for none
    };
    const Case cases[] = {
        {u"Base location:", u"&Base location:", Qt::Key_B},
        {u"Remote location: GMT-5   DST:1", u"&Remote location: GMT-5   DST:1", Qt::Key_R},
        {u"  12:00", u"  &12:00", Qt::Key_1},
        {u"Ärger", u"&Ärger", Qt::Key_Adiaeresis},
        // A "&" of the text itself must neither show as a marker nor become
        // the mnemonic.
        {u"A & B", u"&A && B", Qt::Key_A},
        {u"& more", u"&& &more", Qt::Key_M},
        {u"&&", u"&&&&", Qt::Key(0)},
        {u"-- :", u"-- :", Qt::Key(0)},
        {u"", u"", Qt::Key(0)},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        const QString marked = WithMnemonic(text);
        EXPECT_EQ(marked, QString::fromUtf16(c.marked)) << text.toStdString();
        EXPECT_EQ(ShownText(marked), text) << text.toStdString();
        const QKeySequence expected =
            c.key == Qt::Key(0) ? QKeySequence() : QKeySequence(Qt::ALT | c.key);
        EXPECT_EQ(QKeySequence::mnemonic(marked), expected) << text.toStdString();
    }
}

TEST(MnemonicTest, ShownTextDropsMarkersAsQtDrawsThem) {
    struct Case {
        const char* marked;
        const char* shown;
    };
    const Case cases[] = {
        {"&File", "File"}, {"Save &as", "Save as"},       {"Fish && Chips", "Fish & Chips"},
        {"&&&x", "&x"},    {"ends with &", "ends with "}, {"no marker", "no marker"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShownText(QString::fromUtf8(c.marked)), QString::fromUtf8(c.shown)) << c.marked;
    }
}

}  // namespace
