#include "catalogue/LoadCatalogue.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/FieldReader.h"
#include "support/TempDir.h"
#include "support/TextModeLines.h"

namespace {

class LoadCatalogueTest : public ::testing::Test {
protected:
    LoadOutcome Load(std::string_view zoneText, std::string_view locationsText) {
        m_dir.Write(kZoneFileName, zoneText);
        m_dir.Write(kLocationsFileName, locationsText);
        return LoadCatalogue(m_zones, Files());
    }
    CatalogueFiles Files() const { return CatalogueFiles::InDirectory(m_dir.Path()); }

    std::vector<std::string> Places(std::string_view zoneName) const {
        const CTimeZone* zone = m_zones.Lookup(zoneName);
        EXPECT_NE(zone, nullptr) << zoneName;
        return zone == nullptr
                   ? std::vector<std::string>{}
                   : std::vector<std::string>(zone->m_places.begin(), zone->m_places.end());
    }

    TempDir m_dir;
    Catalogue m_zones;
};

// Lets the process's address space grow by at most `bytes` from now on.
void LimitAddressSpaceGrowth(std::size_t bytes) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmSize:")) {
            const rlimit limit{std::stoul(line.substr(7)) * 1024 + bytes, RLIM_INFINITY};
            ASSERT_EQ(::setrlimit(RLIMIT_AS, &limit), 0);
        }
    }
}

// Everything a catalogue holds, in a canonical order, for comparing two loads.
std::string Dump(const Catalogue& zones) {
    std::map<std::string, std::string> byName;
    zones.ForEach([&byName](const CTimeZone& zone) {
        std::ostringstream out;
        const auto rule = [&out](const TransitionRule& r) {
            out << r.bias << ' ' << +r.month << ' ' << +r.day << ' ' << +r.weekday << ' ' << +r.week
                << ' ' << +r.hour << ' ' << +r.minute << '|';
        };
        out << zone.m_strLabel << '|' << zone.m_strRemark << '|';
        rule(zone.m_standard);
        rule(zone.m_daylight);
        for (std::string_view place : zone.m_places) {
            out << place << ';';
        }
        byName[zone.m_strName] = out.str();
    });
    std::string dump;
    for (const auto& [name, rest] : byName) {
        dump += name + "=" + rest + "\n";
    }
    return dump;
}

constexpr std::string_view kZones =
    "\"Example Zone, North\",Example label,Example remark,60,10,0,1,5,3,0,60,3,0,1,5,2,0\n"
    "Far West,GMT-5,,-300,11,0,1,1,2,0,60,3,0,1,2,2,0\n"
    "Only Name\n";
constexpr std::string_view kLocations =
    "\"Example Zone, North\",Sample City\n"
    "Far West,Town\n"
    "\"Example Zone, North\",\"Comma, Village\"\n"
    "Far West,Town\n";

TEST_F(LoadCatalogueTest, ReadsZonesAndBindsPlacesInFileOrder) {
    ASSERT_EQ(Load(kZones, kLocations), LoadOutcome::Loaded);
    EXPECT_EQ(m_zones.Size(), 3u);
    const CTimeZone* example = m_zones.Lookup("Example Zone, North");
    ASSERT_NE(example, nullptr);
    EXPECT_EQ(example->m_standard, (TransitionRule{60, 10, 0, 1, 5, 3, 0}));
    EXPECT_EQ(example->m_daylight, (TransitionRule{60, 3, 0, 1, 5, 2, 0}));
    EXPECT_EQ(Places("Example Zone, North"),
              (std::vector<std::string>{"Sample City", "Comma, Village"}));
    EXPECT_EQ(Places("Far West"), (std::vector<std::string>{"Town", "Town"}));
    EXPECT_TRUE(Places("Only Name").empty());
    EXPECT_EQ(m_zones.Lookup("Only Name")->m_standard, TransitionRule{});
}

TEST_F(LoadCatalogueTest, CrLfAndLfFilesLoadIdentically) {
    const auto withCrLf = [](std::string_view text) {
        std::string out;
        for (char c : text) {
            out += c == '\n' ? std::string("\r\n") : std::string(1, c);
        }
        return out;
    };
    ASSERT_EQ(Load(kZones, kLocations), LoadOutcome::Loaded);
    const std::string lf = Dump(m_zones);
    ASSERT_EQ(Load(withCrLf(kZones), withCrLf(kLocations)), LoadOutcome::Loaded);
    EXPECT_EQ(Dump(m_zones), lf);
    EXPECT_NE(lf.find("Sample City;"), std::string::npos);
}

TEST_F(LoadCatalogueTest, FirstZoneLineOfANameWinsAndCaseAndBlanksCount) {
    ASSERT_EQ(Load("Zone,first,,60\n"
                   "Zone,second,,120\n"
                   "zone,lower,,180\n"
                   "Zone ,blank,,240\n",
                   "Zone,A\nzone,B\nZone ,C\n"),
              LoadOutcome::Loaded);
    EXPECT_EQ(m_zones.Size(), 3u);
    EXPECT_EQ(m_zones.Lookup("Zone")->m_strLabel, "first");
    EXPECT_EQ(m_zones.Lookup("Zone")->m_standard.bias, 60);
    EXPECT_EQ(m_zones.Lookup("zone")->m_standard.bias, 180);
    EXPECT_EQ(m_zones.Lookup("Zone ")->m_standard.bias, 240);
    EXPECT_EQ(Places("Zone"), std::vector<std::string>{"A"});
    EXPECT_EQ(Places("zone"), std::vector<std::string>{"B"});
    EXPECT_EQ(Places("Zone "), std::vector<std::string>{"C"});
}

TEST_F(LoadCatalogueTest, UnknownZoneNamesGetOnePlaceholderEach) {
    ASSERT_EQ(Load("Known,label\n", "Missing,First\nKnown,Here\nMissing,Second\n Known , Blank\n"),
              LoadOutcome::Loaded);
    const CTimeZone* missing = m_zones.Lookup("Missing");
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->m_strLabel, "!Missing");
    EXPECT_EQ(missing->m_standard, TransitionRule{});
    EXPECT_EQ(missing->m_daylight, TransitionRule{});
    EXPECT_EQ(Places("Missing"), (std::vector<std::string>{"First", "Second"}));
    // Blanks belong to the fields, so " Known " is a zone of its own.
    EXPECT_EQ(m_zones.Lookup(" Known ")->m_strLabel, "! Known ");
    EXPECT_EQ(Places(" Known "), std::vector<std::string>{" Blank"});
    EXPECT_EQ(Places("Known"), std::vector<std::string>{"Here"});
}

TEST_F(LoadCatalogueTest, EmptyLinesMakeOneUnnamedZoneAndBindNoPlace) {
    ASSERT_EQ(Load("\nA\n\n\r\n", "\nA,\n,Place\nA,Here\n\n"), LoadOutcome::Loaded);
    EXPECT_EQ(m_zones.Size(), 2u);
    const CTimeZone* unnamed = m_zones.Lookup("");
    ASSERT_NE(unnamed, nullptr);
    EXPECT_EQ(unnamed->m_places.GetCount(), 0u);
    EXPECT_EQ(Places("A"), std::vector<std::string>{"Here"});
}

TEST_F(LoadCatalogueTest, CtrlZEndsTheReadableText) {
    ASSERT_EQ(Load("A\nB\x1A\nC\n",
                   "A,One\x1A"
                   "A,Two\n"),
              LoadOutcome::Loaded);
    EXPECT_EQ(m_zones.Size(), 2u);
    EXPECT_EQ(m_zones.Lookup("C"), nullptr);
    EXPECT_EQ(Places("A"), std::vector<std::string>{"One"});
}

TEST_F(LoadCatalogueTest, EmptyFilesGiveAnEmptyCatalogue) {
    ASSERT_EQ(Load("", ""), LoadOutcome::Loaded);
    EXPECT_TRUE(m_zones.Empty());
}

TEST_F(LoadCatalogueTest, LoadingAgainReplacesTheOldCatalogue) {
    ASSERT_EQ(Load("Old\n", "Old,Place\n"), LoadOutcome::Loaded);
    ASSERT_EQ(Load("New\n", ""), LoadOutcome::Loaded);
    EXPECT_EQ(m_zones.Lookup("Old"), nullptr);
    EXPECT_NE(m_zones.Lookup("New"), nullptr);
}

TEST_F(LoadCatalogueTest, GarbageLoadsWithoutComplaint) {
    std::string garbage;
    for (int i = 0; i < 100'000; ++i) {
        garbage += static_cast<char>((i * 7919 + i / 3) % 256);
    }
    const std::string commas(10'000, ',');
    // The garbage holds Ctrl-Z bytes, so only what comes before the first of
    // them is read; the line of commas comes first to be sure it is read.
    ASSERT_EQ(Load(commas + "\n" + garbage, commas + "\n" + garbage), LoadOutcome::Loaded);
    const CTimeZone* unnamed = m_zones.Lookup("");
    ASSERT_NE(unnamed, nullptr);
    EXPECT_EQ(unnamed->m_standard, TransitionRule{});
}

TEST_F(LoadCatalogueTest, AFiftyMegabyteLineIsOneZone) {
    std::string line = "Huge,";
    line.append(50'000'000, 'x');
    line += ",remark,60";
    ASSERT_EQ(Load(line + "\nSmall\n", "Huge,Place\n"), LoadOutcome::Loaded);
    const CTimeZone* huge = m_zones.Lookup("Huge");
    ASSERT_NE(huge, nullptr);
    EXPECT_EQ(huge->m_strLabel.size(), 50'000'000u);
    EXPECT_EQ(huge->m_strRemark, "remark");
    EXPECT_EQ(huge->m_standard.bias, 60);
    EXPECT_NE(m_zones.Lookup("Small"), nullptr);
    EXPECT_EQ(Places("Huge"), std::vector<std::string>{"Place"});
}

constexpr int kLargeZoneCount = 3'000;

std::string LargeZoneText() {
    std::string zoneText;
    for (int zone = 0; zone < kLargeZoneCount; ++zone) {
        zoneText += "Zone" + std::to_string(zone) + ",label,,60\n";
    }
    return zoneText;
}

// About `size` bytes of locations lines of every kind, naming the zones of
// LargeZoneText and 50 unknown ones in random order.
std::string LargeLocationsText(std::size_t size) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> anyZone(0, kLargeZoneCount + 49);
    std::uniform_int_distribution<int> kind(0, 19);
    std::uniform_int_distribution<std::size_t> longLength(30, 100);  // either side of 64 bytes
    std::string locations;
    int line = 0;
    while (locations.size() < size) {
        const std::string zone = "Zone" + std::to_string(anyZone(random));
        const std::string place = "Place " + std::to_string(line++);
        switch (kind(random)) {
            case 0: locations += "\"" + zone + "\",\"" + place + ", quoted\"\n"; break;
            case 1: locations += zone + "," + place + "\r\n"; break;
            case 2: locations += zone + ",\n"; break;        // no place: binds nothing
            case 3: locations += "," + place + "\n"; break;  // no zone: binds nothing
            case 4: locations += zone + "," + place + ",extra,fields\n"; break;
            case 5:
                locations += zone + "," + place + std::string(longLength(random), 'x') + "\n";
                break;
            case 6:  // a quote far into a long line
                locations += zone + "," + place + std::string(longLength(random), 'x') +
                             ",\"quoted, late\"\r\n";
                break;
            case 7: locations += zone + "\n"; break;  // no comma: binds nothing
            default: locations += zone + "," + place + "\n"; break;
        }
    }
    return locations;
}

// What a locations file binds, read the slow and obvious way: the places of
// each zone name in file order, and the zone names in the order first met.
struct LineByLine {
    std::map<std::string, std::vector<std::string>> places;
    std::vector<std::string> namesInOrder;
    std::size_t count = 0;
};

LineByLine ReadLineByLine(std::string_view locations) {
    LineByLine result;
    ForEachTextModeLine(locations, [&result](std::string_view line) {
        std::string_view zone;
        std::string_view place;
        if (ParseLocationLine(line, zone, place)) {
            std::vector<std::string>& places = result.places[std::string(zone)];
            if (places.empty()) {
                result.namesInOrder.emplace_back(zone);
            }
            places.emplace_back(place);
            ++result.count;
        }
    });
    return result;
}

// Files of many read blocks, with lines of every kind crossing the blocks'
// ends: the loader binds exactly what reading the file line by line binds.
TEST_F(LoadCatalogueTest, LargeLocationsFilesBindWhatReadingLineByLineBinds) {
    const std::string zoneText = LargeZoneText();
    const std::string mixed = LargeLocationsText(std::size_t{1} << 20);
    const std::string longLine = "Zone5," + std::string(std::size_t{300} << 10, 'L');
    struct Case {
        const char* name;
        std::string locations;
    };
    const Case cases[] = {
        {"mixed_lines", mixed + "Zone1,Last line without a line feed"},
        {"ctrl_z_part_way", mixed + "\x1A" + "Zone2,Hidden\n" + mixed},
        {"long_lines_among_short_ones", mixed + longLine + "\n" + mixed + longLine},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LineByLine expected = ReadLineByLine(c.locations);
        ASSERT_EQ(Load(zoneText, c.locations), LoadOutcome::Loaded);
        std::size_t placeholders = 0;
        for (const std::string& zone : expected.namesInOrder) {
            EXPECT_EQ(Places(zone), expected.places.at(zone)) << zone;
            placeholders += m_zones.Lookup(zone)->m_strLabel == "!" + zone;
        }
        EXPECT_EQ(m_zones.Size(), kLargeZoneCount + placeholders);
        std::size_t bound = 0;
        m_zones.ForEach([&bound](const CTimeZone& zone) { bound += zone.m_places.GetCount(); });
        EXPECT_EQ(bound, expected.count);
    }
}

TEST_F(LoadCatalogueTest, AMissingFileIsReportedByName) {
    EXPECT_EQ(LoadCatalogue(m_zones, Files()), LoadOutcome::ZoneFileUnreadable);

    m_dir.Write(kZoneFileName, "A\n");
    EXPECT_EQ(LoadCatalogue(m_zones, Files()), LoadOutcome::LocationsFileUnreadable);
    EXPECT_TRUE(m_zones.Empty());

    // The zone file is checked first, even when the locations file is there.
    std::filesystem::remove(m_dir.Path() / kZoneFileName);
    m_dir.Write(kLocationsFileName, "A,B\n");
    EXPECT_EQ(LoadCatalogue(m_zones, Files()), LoadOutcome::ZoneFileUnreadable);
}

TEST_F(LoadCatalogueTest, OnlyRegularFilesAreRead) {
    m_dir.Write(kLocationsFileName, "");
    std::filesystem::create_directory(m_dir.Path() / kZoneFileName);
    EXPECT_EQ(LoadCatalogue(m_zones, Files()), LoadOutcome::ZoneFileUnreadable);

    std::filesystem::remove(m_dir.Path() / kZoneFileName);
    m_dir.Write(kZoneFileName, "");
    std::filesystem::remove(m_dir.Path() / kLocationsFileName);
    // A FIFO without a writer would block a plain open; it is refused at once.
    ASSERT_EQ(::mkfifo((m_dir.Path() / kLocationsFileName).c_str(), 0600), 0);
    EXPECT_EQ(LoadCatalogue(m_zones, Files()), LoadOutcome::LocationsFileUnreadable);
}

TEST_F(LoadCatalogueTest, AFileLockedByAWriterIsNotRead) {
    const auto zonePath = m_dir.Write(kZoneFileName, "A\n");
    m_dir.Write(kLocationsFileName, "");
    const int writer = ::open(zonePath.c_str(), O_RDWR);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);
    EXPECT_EQ(LoadCatalogue(m_zones, Files()), LoadOutcome::ZoneFileUnreadable);
    ::close(writer);
    EXPECT_EQ(LoadCatalogue(m_zones, Files()), LoadOutcome::Loaded);
}

// Memory running out part way, as a huge file under a memory limit makes it,
// fails the load of that file like any other failure to read it.
TEST_F(LoadCatalogueTest, RunningOutOfMemoryIsAFailureToReadTheFile) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator ends the process instead of throwing";
#endif
    const std::string hugeLine = "A," + std::string(std::size_t{64} << 20, 'x');
    struct Case {
        const char* name;
        std::string zones;
        std::string locations;
        LoadOutcome expected;
    };
    const Case cases[] = {
        {"zone_file", hugeLine, "A,Here\n", LoadOutcome::ZoneFileUnreadable},
        {"locations_file", "A\n", hugeLine, LoadOutcome::LocationsFileUnreadable},
    };
    for (const Case& c : cases) {
        m_dir.Write(kZoneFileName, c.zones);
        m_dir.Write(kLocationsFileName, c.locations);
        // In a child process, whose address space may grow by 16 MB at most.
        EXPECT_EXIT(
            {
                LimitAddressSpaceGrowth(std::size_t{16} << 20);
                std::exit(LoadCatalogue(m_zones, Files()) == c.expected && m_zones.Empty() ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "")
            << c.name;
    }
}

}  // namespace
