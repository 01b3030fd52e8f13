#include "controls/OpenErrorText.h"

namespace {

const char* KnownText(int code) {
    namespace result = platform::open_result;
    switch (code) {
        case result::kOutOfResources: return "The operating system is out\nof memory or resources.";
        case result::kFileNotFound: return "The specified file was not found.";
        case result::kPathNotFound: return "The specified path was not found.";
        case result::kAccessDenied:
            return "The operating system denied\naccess to the specified file.";
        case result::kOutOfMemory: return "There was not enough memory to complete the operation.";
        case result::kBadFormat:
            return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
        case result::kShareViolation: return "A sharing violation occurred. ";
        case result::kAssociationIncomplete:
            return "The filename association is\nincomplete or invalid.";
        case result::kDdeTimeout:
            return "The DDE transaction could not\nbe completed because the request timed out.";
        case result::kDdeFail: return "The DDE transaction failed.";
        case result::kDdeBusy:
            return "The DDE transaction could not\nbe completed because other DDE "
                   "transactions\nwere being processed.";
        case result::kNoAssociation:
            return "There is no application associated\nwith the given filename extension.";
        case result::kLibraryNotFound: return "The specified dynamic-link library was not found.";
        default: return nullptr;
    }
}

}  // namespace

std::string OpenErrorText(const platform::OpenResult& result) {
    if (const char* text = result.unknownError ? nullptr : KnownText(result.code)) {
        return text;
    }
    return "Unknown Error (" + std::to_string(result.code) + ") occurred.";
}

std::string OpenErrorMessage(const platform::OpenResult& result) {
    return "Unable to open hyperlink:\n\n" + OpenErrorText(result);
}
