// Memory for large working arrays taken straight from the system in whole
// pages, and in huge pages where the system offers them. Memory handed out by
// the system costs a fault the first time each page is touched, and on some
// machines that fault takes longer than filling the page; a huge page needs
// one fault where small pages need five hundred. Only the pages touched are
// ever backed, so asking for more than will be used costs address space only.
#pragma once

#include <cstddef>

namespace platform {

class PageMemory {
public:
    PageMemory() = default;
    // At least `bytes` bytes, zero-filled. Throws std::bad_alloc when the
    // system refuses.
    explicit PageMemory(std::size_t bytes);

    PageMemory(PageMemory&& other) noexcept;
    PageMemory& operator=(PageMemory&& other) noexcept;
    PageMemory(const PageMemory&) = delete;
    PageMemory& operator=(const PageMemory&) = delete;
    ~PageMemory();

    void* Data() const { return m_data; }
    std::size_t Size() const { return m_size; }

private:
    void Release() noexcept;

    void* m_data = nullptr;
    std::size_t m_size = 0;
};

}  // namespace platform
