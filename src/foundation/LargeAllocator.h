#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

// The allocator of the program's large arrays: the values of a table's
// fields, the texts of a grid's columns, a file read whole. An array of two
// megabytes and more gets its own mapping, aligned and marked for huge
// pages: filling 100 MB of cells otherwise takes 25 000 page faults, which
// cost more than the filling itself on a virtual machine. Smaller arrays come
// from the usual heap. Elements are default-initialised, so that an array of
// bytes about to be read into is not zeroed first.
// Under the address sanitizer every array comes from the usual heap: its leak
// checker looks for pointers in heap blocks, not in private mappings, and
// would take the strings those arrays hold for leaks.
#if defined(__SANITIZE_ADDRESS__)
#define QUORIX_LARGE_ARRAYS_ON_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(leak_sanitizer)
#define QUORIX_LARGE_ARRAYS_ON_HEAP 1
#endif
#endif
#ifndef QUORIX_LARGE_ARRAYS_ON_HEAP
#define QUORIX_LARGE_ARRAYS_ON_HEAP 0
#endif

template <class T>
class TLargeAllocator {
public:
  using value_type = T;
  static constexpr std::size_t kHugePage = std::size_t(2) * 1024 * 1024;

  TLargeAllocator() noexcept = default;
  template <class U>
  TLargeAllocator(const TLargeAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    const std::size_t bytes = n * sizeof(T);
    if (QUORIX_LARGE_ARRAYS_ON_HEAP || bytes < kHugePage) return std::allocator<T>().allocate(n);
    const std::size_t length = Rounded(bytes);
    void* mapped = ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    // Keep the aligned part of the mapping and give the rest back.
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~(std::uintptr_t(kHugePage) - 1);
    if (aligned > start) ::munmap(mapped, aligned - start);
    const std::uintptr_t end = start + length + kHugePage;
    if (end > aligned + length) ::munmap(reinterpret_cast<void*>(aligned + length), end - (aligned + length));
    // Only a hint: without huge pages the memory is used as it comes.
    ::madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
    return reinterpret_cast<T*>(aligned);
  }

  void deallocate(T* p, std::size_t n) noexcept {
    const std::size_t bytes = n * sizeof(T);
    if (QUORIX_LARGE_ARRAYS_ON_HEAP || bytes < kHugePage) {
      std::allocator<T>().deallocate(p, n);
      return;
    }
    ::munmap(p, Rounded(bytes));
  }

  // Default-initialisation: a class gets its default constructor, a byte is
  // left as it is.
  template <class U>
  void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }

  template <class U>
  bool operator==(const TLargeAllocator<U>&) const noexcept {
    return true;
  }

private:
  static std::size_t Rounded(std::size_t bytes) { return (bytes + kHugePage - 1) & ~(kHugePage - 1); }
};
