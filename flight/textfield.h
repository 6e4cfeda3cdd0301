#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace lumo {

// Copies text into a fixed-capacity, zero-terminated field. The capacity
// includes the terminator, so char[41] keeps at most 40 characters; longer
// input is cut.
template <std::size_t N>
void copyText(char (&field)[N], std::string_view text)
{
    static_assert(N > 0);
    const std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
    if (n > 0)
        std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

} // namespace lumo
