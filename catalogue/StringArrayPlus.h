// The place names of one zone: an append-only string array with the two
// comparison operations of the original framework class.
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

    void Add(std::string_view text) {
        m_text.append(text);
        m_ends.push_back(m_text.size());
    }
    // Makes room for `count` more elements of `bytes` bytes in all, so that
    // adding them allocates nothing.
    void Reserve(std::size_t count, std::size_t bytes) {
        m_text.reserve(m_text.size() + bytes);
        m_ends.reserve(m_ends.size() + count);
    }
    std::size_t GetCount() const { return m_ends.size(); }
    // Throws std::out_of_range for an index past the end.
    std::string_view GetAt(std::size_t index) const;
    std::string_view operator[](std::size_t index) const {
        const std::size_t begin = index == 0 ? 0 : m_ends[index - 1];
        return std::string_view(m_text).substr(begin, m_ends[index] - begin);
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

    // Frees the slack that appending leaves behind.
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
    // The elements back to back in one buffer, with the end of each: a zone may
    // hold many thousands of places, and one allocation per name would cost
    // more than the name itself.
    std::string m_text;
    std::vector<std::size_t> m_ends;
};
