// Radix-8-4-2 decimation-in-frequency FFT in the manner of FFT842 (Bergland and Dolan):
// radix-8 passes from the longest span down, one closing radix-4 or radix-2 pass on adjacent
// elements, then a bit-reversal permutation. The kernel computes sum_j x_j exp(+2 pi i jk/N);
// the forward transform is obtained by conjugating before and after it.

#include "complex_fft.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// Process-wide work arrays (real and imaginary parts). They grow to the largest N seen and
// are kept for the life of the process, so a run of many transforms allocates only once.
double* WORKR = nullptr;
double* WORKI = nullptr;
int32_t NWORK = 0;

const int32_t MMAX = 15;
const double TWOPI = 6.283185307179586476925286766559;
const double R2 = 0.70710678118654752440084436210485; // 1/sqrt(2), the odd eighth-turns

// cos and sin of the first seven powers of one twiddle, 1-based like the literature.
struct TWIDDLES {
    double C[8];
    double S[8];
};

// m with 2^m = N and 1 <= m <= MMAX, or -1.
int32_t Log2Length(int32_t N)
{
    int32_t M = 1;
    for (int32_t L = 2; M <= MMAX; L *= 2, ++M)
        if (L == N)
            return M;
    return -1;
}

bool GrowWorkArrays(int32_t N)
{
    if (N <= NWORK)
        return true;
    double* R = static_cast<double*>(std::malloc(sizeof(double) * N));
    double* I = static_cast<double*>(std::malloc(sizeof(double) * N));
    if (!R || !I) {
        std::free(R);
        std::free(I);
        return false;
    }
    std::free(WORKR);
    std::free(WORKI);
    WORKR = R;
    WORKI = I;
    NWORK = N;
    return true;
}

// Interleaved data into the work arrays; SIGN = -1 conjugates on the way.
void CopyIn(int32_t N, const double* DATA, double SIGN)
{
    for (int32_t I = 0; I < N; ++I) {
        WORKR[I] = DATA[2 * I];
        WORKI[I] = SIGN * DATA[2 * I + 1];
    }
}

// The first twiddle from the library, the higher powers by complex products.
TWIDDLES TwiddlePowers(double ARG)
{
    TWIDDLES W;
    W.C[1] = std::cos(ARG);
    W.S[1] = std::sin(ARG);
    for (int L = 2; L <= 7; ++L) {
        W.C[L] = W.C[L - 1] * W.C[1] - W.S[L - 1] * W.S[1];
        W.S[L] = W.C[L - 1] * W.S[1] + W.S[L - 1] * W.C[1];
    }
    return W;
}

// Radix-8 butterfly on eight elements NXTLT apart: y_r = sum_q x_q e^(+2 pi i qr/8), each y_r
// times the r-th twiddle power, stored in 3-bit reversed order of r. TWIDDLED false means J = 0.
inline void Radix8Butterfly(double* XR, double* XI, int32_t NXTLT, const TWIDDLES& W, bool TWIDDLED)
{
    double AR[8], AI[8];
    for (int Q = 0; Q < 8; ++Q) {
        AR[Q] = XR[Q * NXTLT];
        AI[Q] = XI[Q * NXTLT];
    }
    // Half-length sums and differences.
    const double B0R = AR[0] + AR[4], B0I = AI[0] + AI[4], B4R = AR[0] - AR[4], B4I = AI[0] - AI[4];
    const double B1R = AR[1] + AR[5], B1I = AI[1] + AI[5], B5R = AR[1] - AR[5], B5I = AI[1] - AI[5];
    const double B2R = AR[2] + AR[6], B2I = AI[2] + AI[6], B6R = AR[2] - AR[6], B6I = AI[2] - AI[6];
    const double B3R = AR[3] + AR[7], B3I = AI[3] + AI[7], B7R = AR[3] - AR[7], B7I = AI[3] - AI[7];
    // Differences turned by e^(+i pi q/4): q = 1 by (1+i)/sqrt2, q = 2 by i, q = 3 by (-1+i)/sqrt2.
    const double C5R = R2 * (B5R - B5I), C5I = R2 * (B5R + B5I);
    const double C6R = -B6I, C6I = B6R;
    const double C7R = -R2 * (B7R + B7I), C7I = R2 * (B7R - B7I);
    double YR[8], YI[8];
    // Even outputs: radix-4 on the sums.
    const double E0R = B0R + B2R, E0I = B0I + B2I, E2R = B0R - B2R, E2I = B0I - B2I;
    const double E1R = B1R + B3R, E1I = B1I + B3I, E3R = B1R - B3R, E3I = B1I - B3I;
    YR[0] = E0R + E1R, YI[0] = E0I + E1I;
    YR[4] = E0R - E1R, YI[4] = E0I - E1I;
    YR[2] = E2R - E3I, YI[2] = E2I + E3R;
    YR[6] = E2R + E3I, YI[6] = E2I - E3R;
    // Odd outputs: radix-4 on the turned differences.
    const double O0R = B4R + C6R, O0I = B4I + C6I, O2R = B4R - C6R, O2I = B4I - C6I;
    const double O1R = C5R + C7R, O1I = C5I + C7I, O3R = C5R - C7R, O3I = C5I - C7I;
    YR[1] = O0R + O1R, YI[1] = O0I + O1I;
    YR[5] = O0R - O1R, YI[5] = O0I - O1I;
    YR[3] = O2R - O3I, YI[3] = O2I + O3R;
    YR[7] = O2R + O3I, YI[7] = O2I - O3R;
    if (TWIDDLED) {
        for (int R = 1; R < 8; ++R) {
            const double TR = YR[R] * W.C[R] - YI[R] * W.S[R];
            YI[R] = YR[R] * W.S[R] + YI[R] * W.C[R];
            YR[R] = TR;
        }
    }
    static const int BITREV3[8] = {0, 4, 2, 6, 1, 5, 3, 7};
    for (int P = 0; P < 8; ++P) {
        XR[P * NXTLT] = YR[BITREV3[P]];
        XI[P * NXTLT] = YI[BITREV3[P]];
    }
}

// One radix-8 pass: span NXTLT, pass length LENGT = 8 NXTLT, twiddles of offset J are the
// powers of e^(+i J 2 pi/LENGT).
void Radix8Pass(int32_t N, int32_t NXTLT)
{
    const int32_t LENGT = 8 * NXTLT;
    const double SCALE = TWOPI / LENGT;
    for (int32_t J = 0; J < NXTLT; ++J) {
        const TWIDDLES W = TwiddlePowers(J * SCALE);
        for (int32_t K = J; K < N; K += LENGT)
            Radix8Butterfly(WORKR + K, WORKI + K, NXTLT, W, J != 0);
    }
}

// Closing radix-4 pass on adjacent groups, outputs in 2-bit reversed order.
void Radix4Pass(int32_t N)
{
    for (int32_t K = 0; K < N; K += 4) {
        double* XR = WORKR + K;
        double* XI = WORKI + K;
        const double S0R = XR[0] + XR[2], S0I = XI[0] + XI[2], D0R = XR[0] - XR[2], D0I = XI[0] - XI[2];
        const double S1R = XR[1] + XR[3], S1I = XI[1] + XI[3], D1R = XR[1] - XR[3], D1I = XI[1] - XI[3];
        XR[0] = S0R + S1R, XI[0] = S0I + S1I;
        XR[1] = S0R - S1R, XI[1] = S0I - S1I;
        XR[2] = D0R - D1I, XI[2] = D0I + D1R;
        XR[3] = D0R + D1I, XI[3] = D0I - D1R;
    }
}

// Closing radix-2 pass on adjacent pairs.
void Radix2Pass(int32_t N)
{
    for (int32_t K = 0; K < N; K += 2) {
        const double AR = WORKR[K], AI = WORKI[K];
        WORKR[K] = AR + WORKR[K + 1], WORKI[K] = AI + WORKI[K + 1];
        WORKR[K + 1] = AR - WORKR[K + 1], WORKI[K + 1] = AI - WORKI[K + 1];
    }
}

// Copies the work arrays back in bit-reversed order, which puts the passes' output in natural
// order, applying the closing conjugation (SIGN = -1) and the scale factor on the way.
void CopyOutBitReversed(int32_t N, double* DATA, double SIGN, double FACTOR)
{
    int32_t REV = 0;
    for (int32_t I = 0; I < N; ++I) {
        DATA[2 * I] = FACTOR * WORKR[REV];
        DATA[2 * I + 1] = SIGN * FACTOR * WORKI[REV];
        // Increment REV as an M-bit number read backwards.
        int32_t BIT = N >> 1;
        while (REV & BIT) {
            REV ^= BIT;
            BIT >>= 1;
        }
        REV |= BIT;
    }
}

} // namespace

int32_t ComplexFFT(int forward, int32_t n, double* data)
{
    const int32_t M = Log2Length(n);
    if (M < 0 || !GrowWorkArrays(n))
        return -1;
    const double SIGN = forward ? -1.0 : 1.0;
    CopyIn(n, data, SIGN);
    int32_t NXTLT = n;
    for (int32_t P = 1; P <= M / 3; ++P) {
        NXTLT /= 8;
        Radix8Pass(n, NXTLT);
    }
    if (M % 3 == 1)
        Radix2Pass(n);
    else if (M % 3 == 2)
        Radix4Pass(n);
    // A power of two, so multiplying by 1/N is exact and equal to dividing by N.
    CopyOutBitReversed(n, data, SIGN, forward ? 1.0 : 1.0 / n);
    return 0;
}
