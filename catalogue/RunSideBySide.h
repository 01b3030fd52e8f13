// Running two pieces of work at once on the two cores a loader can count on.
#pragma once

#include <exception>
#include <system_error>
#include <thread>

// Runs `other` on a second thread while `here` runs on this one, and passes on
// what either throws. Without a second thread to be had, runs both here.
template <typename Here, typename Other>
void RunSideBySide(Here&& here, Other&& other) {
    std::exception_ptr otherFailure;
    std::jthread thread;
    try {
        thread = std::jthread([&] {
            try {
                other();
            } catch (...) {
                otherFailure = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        here();
        other();
        return;
    }
    here();
    thread.join();
    if (otherFailure) {
        std::rethrow_exception(otherFailure);
    }
}
