#include <gtest/gtest.h>

#include <string>

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

}  // namespace
