// The plain-English place name that a zone or link identifier stands for:
// "America/Sao_Paulo" is São Paulo, "Asia/Calcutta" is Calcutta.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tzgen {

// Identifier -> name; an empty name keeps the identifier out of the places.
using Spellings = std::map<std::string, std::string, std::less<>>;

// Reads "identifier<TAB>name" lines; '#' starts a comment line.
Spellings ParseSpellings(std::string_view text);

// Whether the identifier lies in one of the continent or ocean areas, whose
// last part names a place (unlike "Etc/GMT+5", "EST5EDT" or "US/Eastern").
bool InGeographicArea(std::string_view identifier);

// The place name of an identifier: its spelling when listed, otherwise, for
// an identifier of a geographic area, its last part with blanks for
// underscores. Nothing for identifiers that name no place.
std::optional<std::string> PlaceNameOf(std::string_view identifier, const Spellings& spellings);

}  // namespace tzgen
