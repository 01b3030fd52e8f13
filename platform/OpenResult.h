// The result of opening a web link, as the link's messages are keyed: a code
// above 32 means the address was handed to a program that shows it; any other
// code names why it could not be. An error that no code names keeps its own
// number and is reported as an unknown error.
#pragma once

namespace platform {

namespace open_result {

inline constexpr int kOutOfResources = 0;
inline constexpr int kFileNotFound = 2;
inline constexpr int kPathNotFound = 3;
inline constexpr int kAccessDenied = 5;
inline constexpr int kOutOfMemory = 8;
inline constexpr int kBadFormat = 11;
inline constexpr int kShareViolation = 26;
inline constexpr int kAssociationIncomplete = 27;
inline constexpr int kDdeTimeout = 28;
inline constexpr int kDdeFail = 29;
inline constexpr int kDdeBusy = 30;
inline constexpr int kNoAssociation = 31;
inline constexpr int kLibraryNotFound = 32;

// The code this program reports for a link that was handed over; any value
// above kLargestFailure counts as success.
inline constexpr int kOpened = 33;
inline constexpr int kLargestFailure = 32;

}  // namespace open_result

struct OpenResult {
    int code = open_result::kOpened;
    // `code` is another library's error number: whatever its value, it is a
    // failure without a text of its own.
    bool unknownError = false;

    bool Succeeded() const { return !unknownError && code > open_result::kLargestFailure; }
};

}  // namespace platform
