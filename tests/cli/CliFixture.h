// olvanta-cli run as a function over data files in a temporary directory,
// with a clock that stands still: what the CLI tests start from.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/LoadCatalogue.h"
#include "cli/RunCli.h"
#include "support/FixedClock.h"
#include "support/TempDir.h"

class CliFixture : public ::testing::Test {
protected:
    // Puts both data files in place, replacing whatever stands there.
    void WriteData(std::string_view zones, std::string_view places) {
        for (const char* name : {kZoneFileName, kLocationsFileName}) {
            std::filesystem::remove_all(m_data.Path() / name);
        }
        m_data.Write(kZoneFileName, zones);
        m_data.Write(kLocationsFileName, places);
    }

    int Run(const std::vector<std::string>& arguments) {
        m_out.str("");
        m_err.str("");
        const CliEnvironment environment{m_data.Path(), m_clock};
        return RunCli(arguments, environment, m_out, m_err);
    }

    TempDir m_data;
    FixedClock m_clock{1782907230};  // 2026-07-01T12:00:30Z
    std::ostringstream m_out;
    std::ostringstream m_err;
};
