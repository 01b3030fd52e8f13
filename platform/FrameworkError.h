// The error that a calendar field out of range or a failed local-time
// conversion raises inside an event; the window reports it in one standard
// error box and abandons the event.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace platform {

// The platform's status codes that the time arithmetic raises.
enum class ErrorStatus : std::uint32_t {
    Fail = 0x80004005,             // E_FAIL: a calendar field out of range
    InvalidArgument = 0x80070057,  // E_INVALIDARG: a failed local-time conversion
};

class FrameworkError : public std::runtime_error {
public:
    explicit FrameworkError(ErrorStatus status)
        : std::runtime_error(DescribeStatus(status)), m_status(status) {}

    ErrorStatus Status() const { return m_status; }

    // The system's text for the status, as the standard error box shows it.
    static std::string DescribeStatus(ErrorStatus status) {
        switch (status) {
            case ErrorStatus::Fail: return "Unspecified error";
            case ErrorStatus::InvalidArgument: return "The parameter is incorrect.";
        }
        return "Unknown error";
    }

private:
    ErrorStatus m_status;
};

}  // namespace platform
