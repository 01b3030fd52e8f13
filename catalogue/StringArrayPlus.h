// The place names of one zone: an append-only string array that compares an
// element with a text, or two elements, by bytes or by the locale's collation.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CStringArrayPlus {
public:
    // Flag bits of CompareAt and CompareItems.
    static constexpr unsigned kDescending = 1;       // negate the result
    static constexpr unsigned kCaseSensitive = 2;    // otherwise letter case is ignored
    static constexpr unsigned kLocaleCollation = 4;  // otherwise byte (code-page) order

    CStringArrayPlus() = default;
    CStringArrayPlus(const CStringArrayPlus&) = delete;
    CStringArrayPlus& operator=(const CStringArrayPlus&) = delete;
    virtual ~CStringArrayPlus() = default;

    void Add(std::string_view text) { m_elements.emplace_back(text); }

    std::size_t GetCount() const { return m_elements.size(); }
    // Throws std::out_of_range for an index past the end.
    const std::string& GetAt(std::size_t index) const { return m_elements.at(index); }
    const std::string& operator[](std::size_t index) const { return m_elements[index]; }

    auto begin() const { return m_elements.begin(); }
    auto end() const { return m_elements.end(); }

    // Negative, zero or positive as element `index` sorts before, with or after
    // `text`. `index` must be a valid element index; a null `text` throws
    // std::invalid_argument.
    virtual int CompareAt(std::size_t index, const char* text, unsigned flags) const;

    // CompareAt of element index1 against element index2, through the virtual
    // call so that an override applies.
    int CompareItems(std::size_t index1, std::size_t index2, unsigned flags) const;

private:
    std::vector<std::string> m_elements;
};
