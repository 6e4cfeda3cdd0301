#pragma once

#include <cstddef>

// Under AddressSanitizer a released list node is marked unaddressable, so a
// pointer kept to a removed record is reported as it was when every record
// had its own heap allocation; otherwise these do nothing.
#if defined(__SANITIZE_ADDRESS__)
#define LUMO_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LUMO_ASAN 1
#endif
#endif

#ifdef LUMO_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace lumo {

inline void poisonNode([[maybe_unused]] const void* p, [[maybe_unused]] std::size_t bytes)
{
#ifdef LUMO_ASAN
    ASAN_POISON_MEMORY_REGION(p, bytes);
#endif
}

inline void unpoisonNode([[maybe_unused]] const void* p, [[maybe_unused]] std::size_t bytes)
{
#ifdef LUMO_ASAN
    ASAN_UNPOISON_MEMORY_REGION(p, bytes);
#endif
}

} // namespace lumo
