#pragma once
// In-place transform of N = 2^m interleaved complex values (re, im, re, im, ...), 1 <= m <= 15.
//
//   forward != 0 :  y_k = sum_j x_j exp(-2 pi i jk/N)          (no scaling)
//   forward == 0 :  y_k = (1/N) sum_j x_j exp(+2 pi i jk/N)
//
// Returns 0, or -1 when N is not such a power of two (the data are then left as they were).
// Safe on several threads at once: every thread has its own work arrays and twiddle tables.

#include <cstdint>

int32_t ComplexFFT(int forward, int32_t n, double* data);
