#pragma once

namespace lumo {

constexpr double Missing = -9999.9; // missing-value marker, compared exactly

} // namespace lumo
