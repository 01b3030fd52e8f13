// The place names of one zone: an append-only string array with the two
// comparison operations of the original framework class.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
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

    void Add(std::string_view text) {
        if (m_keeper != nullptr) {
            StopSharing();
        }
        m_text.append(text);
        m_ends.push_back(m_text.size());
    }

    // Makes the array hold the elements laid out in `text` and `ends`, as Add
    // would have laid them out, without copying them: a loader that fills one
    // block for the places of thousands of zones hands each zone its slice.
    // `keeper` keeps the block alive for as long as any array shows it. Adding
    // to the array later copies the elements into its own storage first. An
    // array that is not empty, or given no keeper, gets the elements copied.
    void Share(std::shared_ptr<const void> keeper, std::string_view text,
               std::span<const std::size_t> ends);

    std::size_t GetCount() const { return Ends().size(); }
    // Throws std::out_of_range for an index past the end.
    std::string_view GetAt(std::size_t index) const;
    std::string_view operator[](std::size_t index) const {
        const std::span<const std::size_t> ends = Ends();
        const std::size_t begin = index == 0 ? 0 : ends[index - 1];
        return Text().substr(begin, ends[index] - begin);
    }

    class Iterator {
    public:
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        Iterator() = default;
        Iterator(const CStringArrayPlus* array, std::size_t index)
            : m_array(array), m_index(index) {}
        std::string_view operator*() const { return (*m_array)[m_index]; }
        Iterator& operator++() {
            ++m_index;
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++m_index;
            return before;
        }
        friend bool operator==(const Iterator&, const Iterator&) = default;

    private:
        const CStringArrayPlus* m_array = nullptr;
        std::size_t m_index = 0;
    };
    Iterator begin() const { return Iterator(this, 0); }
    Iterator end() const { return Iterator(this, GetCount()); }

    // Frees the slack that appending leaves behind; shared elements have none.
    void FreeExtra() {
        m_text.shrink_to_fit();
        m_ends.shrink_to_fit();
    }

    // Negative, zero or positive as element `index` sorts before, with or after
    // `text`. `index` must be a valid element index; a null `text` throws
    // std::invalid_argument.
    virtual int CompareAt(std::size_t index, const char* text, unsigned flags) const;

    // CompareAt of element index1 against element index2, through the virtual
    // call so that an override applies.
    int CompareItems(std::size_t index1, std::size_t index2, unsigned flags) const;

private:
    std::string_view Text() const { return m_keeper != nullptr ? m_sharedText : m_text; }
    std::span<const std::size_t> Ends() const {
        return m_keeper != nullptr ? m_sharedEnds : std::span<const std::size_t>(m_ends);
    }
    // Copies the shared elements into the array's own storage.
    void StopSharing();

    // The elements back to back in one buffer, with the end of each: a zone may
    // hold many thousands of places, and one allocation per name would cost
    // more than the name itself.
    std::string m_text;
    std::vector<std::size_t> m_ends;

    // Or, while m_keeper is set, the same layout in a block shared with other
    // arrays.
    std::shared_ptr<const void> m_keeper;
    std::string_view m_sharedText;
    std::span<const std::size_t> m_sharedEnds;
};
