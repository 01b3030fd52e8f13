// A growable array of plain values kept in whole pages from the system: for
// working arrays of millions of entries that live only while a file loads.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>
#include <type_traits>

#include "platform/PageMemory.h"

template <typename T>
class PagedArray {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    // Room for `expected` values is set aside at once; more still fit, at the
    // cost of a copy.
    explicit PagedArray(std::size_t expected = 0) {
        if (expected > 0) {
            Reallocate(expected);
        }
    }

    void PushBack(const T& value) {
        MakeRoomFor(1);
        // Assigned, not copied as bytes: a value just made in registers is
        // stored straight from them.
        Writable()[m_size++] = value;
    }
    void Append(const T* values, std::size_t count) {
        MakeRoomFor(count);
        std::memcpy(Writable() + m_size, values, count * sizeof(T));
        m_size += count;
    }

    std::size_t Size() const { return m_size; }
    const T* Data() const { return static_cast<const T*>(m_memory.Data()); }
    const T& operator[](std::size_t index) const { return Data()[index]; }

private:
    T* Writable() { return static_cast<T*>(m_memory.Data()); }
    std::size_t Capacity() const { return m_memory.Size() / sizeof(T); }

    void MakeRoomFor(std::size_t more) {
        if (more > Capacity() - m_size) {
            Reallocate(std::max(Needed(more), Capacity() * 2));
        }
    }

    std::size_t Needed(std::size_t more) const {
        if (more > static_cast<std::size_t>(-1) / sizeof(T) - m_size) {
            throw std::bad_alloc();
        }
        return m_size + more;
    }

    void Reallocate(std::size_t capacity) {
        if (capacity > static_cast<std::size_t>(-1) / sizeof(T)) {
            throw std::bad_alloc();
        }
        platform::PageMemory larger(capacity * sizeof(T));
        if (m_size > 0) {
            std::memcpy(larger.Data(), m_memory.Data(), m_size * sizeof(T));
        }
        m_memory = std::move(larger);
    }

    platform::PageMemory m_memory;
    std::size_t m_size = 0;
};
