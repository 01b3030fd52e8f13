#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "controls/FittedRect.h"
#include "controls/LinkTextColor.h"
#include "controls/OpenErrorText.h"

namespace {

TEST(OpenErrorTextTest, EachFailureCodeHasItsText) {
    struct Case {
        platform::OpenResult result;
        const char* text;
    };
    const Case cases[] = {
        {{0}, "The operating system is out\nof memory or resources."},
        {{2}, "The specified file was not found."},
        {{3}, "The specified path was not found."},
        {{5}, "The operating system denied\naccess to the specified file."},
        {{8}, "There was not enough memory to complete the operation."},
        {{11}, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {{26}, "A sharing violation occurred. "},
        {{27}, "The filename association is\nincomplete or invalid."},
        {{28}, "The DDE transaction could not\nbe completed because the request timed out."},
        {{29}, "The DDE transaction failed."},
        {{30},
         "The DDE transaction could not\nbe completed because other DDE transactions\nwere "
         "being processed."},
        {{31}, "There is no application associated\nwith the given filename extension."},
        {{32}, "The specified dynamic-link library was not found."},
        {{1}, "Unknown Error (1) occurred."},
        {{4}, "Unknown Error (4) occurred."},
        {{12}, "Unknown Error (12) occurred."},
        {{25}, "Unknown Error (25) occurred."},
        {{-1}, "Unknown Error (-1) occurred."},
        {{-2147483647 - 1}, "Unknown Error (-2147483648) occurred."},
        // Another library's error numbers have no texts, whatever their value.
        {{2, true}, "Unknown Error (2) occurred."},
        {{40, true}, "Unknown Error (40) occurred."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OpenErrorText(c.result), c.text) << c.result.code;
        EXPECT_EQ(OpenErrorMessage(c.result), std::string("Unable to open hyperlink:\n\n") + c.text)
            << c.result.code;
    }
}

TEST(LinkTextColorTest, HoverWinsThenVisitedThenLink) {
    // The link colours in the 0x00BBGGRR layout.
    const LinkColors colors;
    EXPECT_EQ(colors.link, 0x00EE0000u);
    EXPECT_EQ(colors.visited, 0x008B1A55u);
    EXPECT_EQ(colors.hover, 0x000000FFu);
    EXPECT_EQ(RedOf(colors.visited), 85);
    EXPECT_EQ(GreenOf(colors.visited), 26);
    EXPECT_EQ(BlueOf(colors.visited), 139);

    struct Case {
        bool hovering;
        bool visited;
        ColorRef expected;
    };
    const Case cases[] = {
        {false, false, colors.link},
        {false, true, colors.visited},
        {true, false, colors.hover},
        {true, true, colors.hover},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LinkTextColor(colors, c.hovering, c.visited), c.expected)
            << c.hovering << c.visited;
    }
}

TEST(FittedRectTest, KeepsTheEdgeOrCentreThatTheAlignmentHolds) {
    // A 100 x 20 window with a 2-pixel border all round; the text is 50 x 13,
    // so the fitted window is 54 x 17.
    const EdgeRect window{10, 20, 110, 40};
    const EdgeRect client{12, 22, 108, 38};
    const TextExtent text{50, 13};
    struct Case {
        const char* name;
        std::uint32_t style;
        EdgeRect expected;
    };
    const Case cases[] = {
        {"left_top", 0, {10, 20, 64, 37}},
        {"right_top", kRight, {56, 20, 110, 37}},
        {"centre_top", kCenter, {33, 20, 87, 37}},
        // (20 - 17) / 2 = 1 on each side: the centre stays, the height rounds up.
        {"left_middle", kCenterImage, {10, 21, 64, 39}},
        {"centre_middle", kCenter | kCenterImage, {33, 21, 87, 39}},
        {"centre_wins_over_right", kCenter | kRight, {33, 20, 87, 37}},
        {"other_bits_ignored", 0x0100u | 0x0004u, {10, 20, 64, 37}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FittedRect(window, client, text, c.style), c.expected) << c.name;
    }
}

TEST(FittedRectTest, ATextLargerThanTheWindowGrowsIt) {
    const EdgeRect window{10, 20, 110, 40};
    const TextExtent text{151, 31};
    EXPECT_EQ(FittedRect(window, window, text, 0), (EdgeRect{10, 20, 161, 51}));
    EXPECT_EQ(FittedRect(window, window, text, kRight), (EdgeRect{-41, 20, 110, 51}));
    // -51 / 2 and -11 / 2 round toward zero to -25 and -5: a centred window
    // that grows by an odd number of pixels comes out one pixel short.
    EXPECT_EQ(FittedRect(window, window, text, kCenter | kCenterImage),
              (EdgeRect{-15, 15, 135, 45}));
}

TEST(FittedRectTest, AlignedEdgesStayPutForAnyExtent) {
    const EdgeRect window{-5, 7, 95, 27};
    const EdgeRect client{-4, 8, 94, 26};
    for (int cx = 0; cx <= 200; cx += 7) {
        for (int cy = 0; cy <= 40; cy += 3) {
            const TextExtent text{cx, cy};
            const EdgeRect left = FittedRect(window, client, text, 0);
            EXPECT_EQ(left.left, window.left);
            EXPECT_EQ(left.top, window.top);
            EXPECT_EQ(left.Width(), cx + 2);
            EXPECT_EQ(left.Height(), cy + 2);
            const EdgeRect right = FittedRect(window, client, text, kRight);
            EXPECT_EQ(right.right, window.right);
            EXPECT_EQ(right.Width(), cx + 2);
            const EdgeRect centred = FittedRect(window, client, text, kCenter | kCenterImage);
            EXPECT_LE(std::abs((centred.left + centred.right) - (window.left + window.right)), 1);
            EXPECT_LE(std::abs((centred.top + centred.bottom) - (window.top + window.bottom)), 1);
            EXPECT_LE(std::abs(centred.Width() - (cx + 2)), 1);
        }
    }
}

}  // namespace
