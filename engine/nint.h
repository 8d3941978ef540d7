#pragma once
// NINT: the engine's one rounding rule, half away from zero, used for every rounding it does.

#include <cstdint>

inline int32_t NINT(double x)
{
    return static_cast<int32_t>(x >= 0.0 ? x + 0.5 : x - 0.5);
}
