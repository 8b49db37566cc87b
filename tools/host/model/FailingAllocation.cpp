// The replaced operator new of the tests and of tavrel-host-alloc.
//
// The plug-in's allocations (those made while one of its entry points runs,
// see AllocationGate.h) are counted, and the one numbered by
// TAVREL_FAIL_ALLOCATION fails: "K" the K-th only, "K+" the K-th and every
// later one; at exit the count goes to the file TAVREL_ALLOCATION_COUNT
// names. Tests fail requests while a FailNothrowNew or FailLargeNew lives.
// operator new throws std::bad_alloc and, in glibc builds without
// AddressSanitizer (whose allocator must stay in charge), malloc, calloc and
// realloc answer null. Without the variables and objects nothing fails.
#include "tools/host/model/FailingAllocation.h"

#include <cstdio>
#include <cstdlib>
#include <new>

#include "tools/host/model/AllocationGate.h"

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#define TAVREL_HOOK_MALLOC 1
extern "C" void* __libc_malloc(std::size_t size);
extern "C" void* __libc_calloc(std::size_t count, std::size_t size);
extern "C" void* __libc_realloc(void* block, std::size_t size);
extern "C" void __libc_free(void* block);
#else
#define TAVREL_HOOK_MALLOC 0
#endif

namespace {

long g_counted = 0;
long g_failing = -1;  // not read yet
bool g_onwards = false;
bool g_failNothrow = false;
std::size_t g_failFrom = 0;  // 0: no request fails for its size

// Whether the allocation asked for now is to fail (and counts it when it is
// the plug-in's).
bool Fails() {
  if (!tavrel::hostmodel::allocation::PluginAllocates()) return false;
  if (g_failing < 0) {
    const char* plan = std::getenv("TAVREL_FAIL_ALLOCATION");
    char* end = nullptr;
    g_failing = plan == nullptr ? 0 : std::strtol(plan, &end, 10);
    g_onwards = end != nullptr && *end == '+';
  }
  ++g_counted;
  return g_failing > 0 && (g_onwards ? g_counted >= g_failing : g_counted == g_failing);
}

void* Allocate(std::size_t size) {
#if TAVREL_HOOK_MALLOC
  return __libc_malloc(size == 0 ? 1 : size);
#else
  return std::malloc(size == 0 ? 1 : size);  // NOLINT(cppcoreguidelines-no-malloc): the hook forwards
#endif
}

void Release(void* block) {
#if TAVREL_HOOK_MALLOC
  __libc_free(block);
#else
  std::free(block);                          // NOLINT(cppcoreguidelines-no-malloc): the hook forwards
#endif
}

struct CountReport {
  CountReport() = default;
  CountReport(const CountReport&) = delete;
  CountReport& operator=(const CountReport&) = delete;
  ~CountReport() {
    const char* path = std::getenv("TAVREL_ALLOCATION_COUNT");
    if (path == nullptr) return;
    if (std::FILE* file = std::fopen(path, "w")) {
      std::fprintf(file, "%ld\n", g_counted);
      std::fclose(file);
    }
  }
} g_report;

}  // namespace

// The ordinary forms are replaced together, over the same allocator, so
// every allocation and release pairs up (the sanitizers check that they do).
void* operator new(std::size_t size) {
  const bool fails = Fails() || (g_failFrom != 0 && size >= g_failFrom);
  void* block = fails ? nullptr : Allocate(size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}
void* operator new[](std::size_t size) { return ::operator new(size); }
// The nothrow forms go through the ordinary ones, so each request is
// counted once and freed by the ordinary operator delete.
void* operator new(std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
  if (g_failNothrow) return nullptr;
  try {
    return ::operator new(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
  try {
    return ::operator new[](size);
  } catch (...) {
    return nullptr;
  }
}
void operator delete(void* block) noexcept { Release(block); }
void operator delete[](void* block) noexcept { Release(block); }
void operator delete(void* block, std::size_t /*size*/) noexcept { Release(block); }
void operator delete[](void* block, std::size_t /*size*/) noexcept { Release(block); }
void operator delete(void* block, const std::nothrow_t& /*tag*/) noexcept { Release(block); }
void operator delete[](void* block, const std::nothrow_t& /*tag*/) noexcept { Release(block); }

#if TAVREL_HOOK_MALLOC
extern "C" void* malloc(std::size_t size) { return Fails() ? nullptr : __libc_malloc(size); }
extern "C" void* calloc(std::size_t count, std::size_t size) {
  return Fails() ? nullptr : __libc_calloc(count, size);
}
extern "C" void* realloc(void* block, std::size_t size) {
  return Fails() ? nullptr : __libc_realloc(block, size);
}
extern "C" void free(void* block) { __libc_free(block); }
#endif

namespace tavrel::hostmodel::allocation {

FailNothrowNew::FailNothrowNew() { g_failNothrow = true; }
FailNothrowNew::~FailNothrowNew() { g_failNothrow = false; }

FailLargeNew::FailLargeNew(std::size_t bytes) { g_failFrom = bytes; }
FailLargeNew::~FailLargeNew() { g_failFrom = 0; }

}  // namespace tavrel::hostmodel::allocation
