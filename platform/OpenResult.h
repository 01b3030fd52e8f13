// Why a web link could not be opened, as the link's messages are keyed: the
// failure codes of the Windows shell, in which the message table is written.
// Every code here is a failure: the shell counts any code above 32 as
// success, which this program reports as no failure at all. An error that no
// code names keeps its own number and is reported as an unknown error.
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

}  // namespace open_result

struct OpenResult {
    int code = open_result::kFileNotFound;
    // `code` is another library's error number: whatever its value, it is a
    // failure without a text of its own.
    bool unknownError = false;
};

}  // namespace platform
