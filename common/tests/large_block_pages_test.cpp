// The tools' operator new, linked into this test program as into the tools.

#include <gtest/gtest.h>

#include <cstddef>
#include <limits>
#include <new>

namespace {

constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max();
constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Sizes that no machine can give, among them those whose rounding up to whole
// huge pages passes SIZE_MAX.
TEST(ToolAllocator, ImpossibleSizesThrowBadAlloc) {
#ifndef DOT11B_TOOL_ALLOCATOR
    GTEST_SKIP() << "built without the tools' operator new";
#endif
    for (const std::size_t size : {kMax, kMax - 1, kMax - kHugePage + 2, kMax - kHugePage + 1, kMax / 2 + 1}) {
        void* volatile block = nullptr;
        EXPECT_THROW(block = ::operator new(size), std::bad_alloc) << size;
        if (block != nullptr) ::operator delete(block);
    }
}

}  // namespace
