// A process launcher that starts nothing: it records every request and
// answers each with what the test's responder says.
#pragma once

#include <cerrno>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ProcessLauncher.h"

class FakeProcessLauncher final : public platform::ProcessLauncher {
public:
    using Responder = std::function<platform::LaunchResult(const platform::LaunchRequest&)>;

    // Without a responder every program counts as missing.
    explicit FakeProcessLauncher(Responder responder = {}) : m_responder(std::move(responder)) {}

    platform::LaunchResult Run(const platform::LaunchRequest& request) override {
        m_requests.push_back(request);
        return m_responder ? m_responder(request) : NotFound();
    }

    const std::vector<platform::LaunchRequest>& Requests() const { return m_requests; }

    // The requests that started `program` (its first argument).
    std::vector<platform::LaunchRequest> RequestsFor(const std::string& program) const {
        std::vector<platform::LaunchRequest> found;
        for (const platform::LaunchRequest& request : m_requests) {
            if (!request.arguments.empty() && request.arguments.front() == program) {
                found.push_back(request);
            }
        }
        return found;
    }

    static platform::LaunchResult NotFound() { return NotStarted(ENOENT); }
    static platform::LaunchResult NotStarted(int error) {
        platform::LaunchResult result;
        result.status = platform::LaunchStatus::NotStarted;
        result.error = error;
        return result;
    }
    static platform::LaunchResult Exited(int code, std::string output = {}) {
        platform::LaunchResult result;
        result.status = platform::LaunchStatus::Exited;
        result.exitCode = code;
        result.output = std::move(output);
        return result;
    }
    static platform::LaunchResult Running() {
        platform::LaunchResult result;
        result.status = platform::LaunchStatus::Running;
        return result;
    }
    static platform::LaunchResult Signalled(int signal) {
        platform::LaunchResult result;
        result.status = platform::LaunchStatus::Signalled;
        result.signal = signal;
        return result;
    }

private:
    Responder m_responder;
    std::vector<platform::LaunchRequest> m_requests;
};
