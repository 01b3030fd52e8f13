#include "platform/PageMemory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <new>
#include <utility>

namespace platform {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t RoundUpToPages(std::size_t bytes) {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    if (bytes > static_cast<std::size_t>(-1) - page) {
        throw std::bad_alloc();
    }
    return (bytes + page - 1) / page * page;
}

}  // namespace

PageMemory::PageMemory(std::size_t bytes) {
    if (bytes == 0) {
        return;
    }
    const std::size_t size = RoundUpToPages(bytes);
    // Huge pages cover only whole aligned stretches, so a large block is
    // placed on a huge-page boundary: a slack stretch is mapped with it and
    // then given back.
    const std::size_t alignment = size >= kHugePage ? kHugePage : 0;
    if (size > static_cast<std::size_t>(-1) - alignment) {
        throw std::bad_alloc();
    }
    void* mapped = ::mmap(nullptr, size + alignment, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (mapped == MAP_FAILED) {
        throw std::bad_alloc();
    }
    auto* start = static_cast<char*>(mapped);
    if (alignment != 0) {
        const std::size_t lead =
            (alignment - reinterpret_cast<std::uintptr_t>(start) % alignment) % alignment;
        if (lead != 0) {
            ::munmap(start, lead);
        }
        if (alignment - lead != 0) {
            ::munmap(start + lead + size, alignment - lead);
        }
        start += lead;
#ifdef MADV_HUGEPAGE
        // Only a hint: without huge pages the memory works the same, just
        // slower to touch for the first time.
        ::madvise(start, size, MADV_HUGEPAGE);
#endif
    }
    m_data = start;
    m_size = size;
}

PageMemory::PageMemory(PageMemory&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)) {}

PageMemory& PageMemory::operator=(PageMemory&& other) noexcept {
    if (this != &other) {
        Release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

PageMemory::~PageMemory() {
    Release();
}

void PageMemory::Release() noexcept {
    if (m_data != nullptr) {
        ::munmap(m_data, m_size);
        m_data = nullptr;
        m_size = 0;
    }
}

}  // namespace platform
