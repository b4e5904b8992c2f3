// The program's operator new, for the tools that build whole waveforms: a
// block of 256 KiB or more (a waveform, its chips, a file's samples) is laid
// on 2 MiB pages. A fresh process otherwise takes one page fault per 4 KiB
// of every such block, and on a virtual machine those faults cost more than
// computing the samples (the largest frame touches about 17 MB: some 4300
// faults against a dozen). Smaller blocks come from malloc as before; every
// block is released by free(), which the default operator delete calls.
//
// Linked into executables only (a library must not replace operator new),
// and not into the sanitizer builds, whose allocator checks new and delete.

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <new>

namespace {

constexpr std::size_t kLargeBlock = std::size_t{256} << 10;
constexpr std::size_t kHugePage = std::size_t{2} << 20;

void* allocate(std::size_t size) {
    if (size < kLargeBlock) return std::malloc(size == 0 ? 1 : size);
    // Rounding up such a size would wrap around to a tiny block.
    if (size > std::numeric_limits<std::size_t>::max() - (kHugePage - 1)) return nullptr;
    const std::size_t rounded = (size + kHugePage - 1) & ~(kHugePage - 1);
    void* block = std::aligned_alloc(kHugePage, rounded);
    // Only advice: where the kernel has no huge page to give, 4 KiB pages serve.
    if (block != nullptr) ::madvise(block, rounded, MADV_HUGEPAGE);
    return block;
}

}  // namespace

void* operator new(std::size_t size) {
    for (;;) {
        if (void* block = allocate(size)) return block;
        const std::new_handler handler = std::get_new_handler();
        if (handler == nullptr) throw std::bad_alloc();
        handler();
    }
}
