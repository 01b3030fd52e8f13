// Large, deterministic data files for measurements: zones with plausible
// rules and places bound to zones in random order.
#pragma once

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>

namespace bench {

inline std::string SyntheticZoneName(std::size_t index) {
    return "Region" + std::to_string(index % 97) + "/Zone_" + std::to_string(index);
}

inline std::string SyntheticPlaceName(std::mt19937& random) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz";
    std::uniform_int_distribution<int> length(4, 18);
    std::uniform_int_distribution<int> letter(0, 25);
    std::string name;
    const int count = length(random);
    name += static_cast<char>('A' + letter(random));
    for (int i = 1; i < count; ++i) {
        name += (i == count / 2 && count > 10) ? ' ' : kLetters[letter(random)];
    }
    return name;
}

enum class PlaceOrder {
    GroupedByZone,  // as a data file is written: the places of a zone together
    Shuffled,       // every line bound to a random zone
};

// Writes `zones` zone lines and `places` location lines into `directory`.
inline void WriteSyntheticCatalogue(const std::filesystem::path& directory, std::size_t zones,
                                    std::size_t places, PlaceOrder order, unsigned seed = 2026) {
    std::mt19937 random(seed);
    std::ofstream zoneFile(directory / "tmzn.tzd", std::ios::binary);
    std::uniform_int_distribution<int> offset(-48, 56);
    for (std::size_t i = 0; i < zones; ++i) {
        const int standard = offset(random) * 15;
        zoneFile << SyntheticZoneName(i) << ",\"(UTC" << standard << ") Synthetic, zone\","
                 << "generated," << standard << ",10,0,1,5,3,0," << (i % 3 == 0 ? 0 : 60)
                 << ",3,0,1,5,2,0\n";
    }
    std::ofstream placeFile(directory / "tmzn.tzd.Locations", std::ios::binary);
    std::uniform_int_distribution<std::size_t> zone(0, zones - 1);
    for (std::size_t i = 0; i < places; ++i) {
        const std::size_t zoneIndex =
            order == PlaceOrder::Shuffled ? zone(random) : i * zones / places;
        placeFile << SyntheticZoneName(zoneIndex) << ',' << SyntheticPlaceName(random) << '\n';
    }
    if (!zoneFile || !placeFile) {
        throw std::runtime_error("cannot write the synthetic catalogue");
    }
}

}  // namespace bench
