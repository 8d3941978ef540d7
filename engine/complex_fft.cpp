// Radix-8-4-2 decimation-in-frequency FFT in the manner of FFT842 (Bergland and Dolan):
// radix-8 passes from the longest span down, one closing radix-4 or radix-2 pass on adjacent
// elements, then a bit-reversal permutation. The kernel computes sum_j x_j exp(+2 pi i jk/N);
// the forward transform is obtained by conjugating before and after it.

#include "complex_fft.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

const int32_t MMAX = 15;
const double TWOPI = 6.283185307179586476925286766559;
const double R2 = 0.70710678118654752440084436210485; // 1/sqrt(2), the odd eighth-turns

// m with 2^m = N and 1 <= m <= MMAX, or -1.
int32_t Log2Length(int32_t N)
{
    int32_t M = 1;
    for (int32_t L = 2; M <= MMAX; L *= 2, ++M)
        if (L == N)
            return M;
    return -1;
}

// Two adjacent elements held as one pair of doubles, so that the compiler emits packed
// arithmetic for the same formulas (GCC/Clang vector extension).
typedef double PAIR __attribute__((vector_size(16)));

inline void Load(const double* P, double& V) { V = *P; }
inline void Load(const double* P, PAIR& V) { std::memcpy(&V, P, sizeof V); }
inline void Store(double* P, double V) { *P = V; }
inline void Store(double* P, PAIR V) { std::memcpy(P, &V, sizeof V); }

// Interleaved data into the work arrays, two values at a time (N is even); SIGN = -1
// conjugates on the way.
void CopyIn(int32_t N, const double* DATA, double SIGN, double* WORKR, double* WORKI)
{
    for (int32_t I = 0; I < N; I += 2) {
        PAIR A, B;
        Load(DATA + 2 * I, A);
        Load(DATA + 2 * I + 2, B);
        const PAIR RE = {A[0], B[0]}, IM = {A[1], B[1]};
        Store(WORKR + I, RE);
        Store(WORKI + I, SIGN * IM);
    }
}

// cos and sin of the first seven powers of one twiddle, 1-based like the literature.
template <typename T>
struct TWIDDLES {
    T C[8];
    T S[8];
};

// The first twiddle from the library, the higher powers by complex products.
template <typename T>
TWIDDLES<T> TwiddlePowers(T C1, T S1)
{
    TWIDDLES<T> W;
    W.C[1] = C1;
    W.S[1] = S1;
    for (int L = 2; L <= 7; ++L) {
        W.C[L] = W.C[L - 1] * C1 - W.S[L - 1] * S1;
        W.S[L] = W.C[L - 1] * S1 + W.S[L - 1] * C1;
    }
    return W;
}

// (R + iI) times (C + iS).
template <typename T>
inline void Rotate(T& R, T& I, T C, T S)
{
    const T TR = R * C - I * S;
    I = R * S + I * C;
    R = TR;
}

// Radix-8 butterfly on eight elements NXTLT apart: y_r = sum_q x_q e^(+2 pi i qr/8), y_r times
// the r-th twiddle power (none when W is null, offset 0), stored in 3-bit reversed order of r.
template <typename T>
inline void Radix8Butterfly(double* XR, double* XI, int32_t NXTLT, const TWIDDLES<T>* W)
{
    T X0R, X0I, X1R, X1I, X2R, X2I, X3R, X3I, X4R, X4I, X5R, X5I, X6R, X6I, X7R, X7I;
    Load(XR, X0R), Load(XI, X0I), Load(XR + NXTLT, X1R), Load(XI + NXTLT, X1I);
    Load(XR + 2 * NXTLT, X2R), Load(XI + 2 * NXTLT, X2I), Load(XR + 3 * NXTLT, X3R), Load(XI + 3 * NXTLT, X3I);
    Load(XR + 4 * NXTLT, X4R), Load(XI + 4 * NXTLT, X4I), Load(XR + 5 * NXTLT, X5R), Load(XI + 5 * NXTLT, X5I);
    Load(XR + 6 * NXTLT, X6R), Load(XI + 6 * NXTLT, X6I), Load(XR + 7 * NXTLT, X7R), Load(XI + 7 * NXTLT, X7I);
    // Half-length sums and differences.
    const T B0R = X0R + X4R, B0I = X0I + X4I, B4R = X0R - X4R, B4I = X0I - X4I;
    const T B1R = X1R + X5R, B1I = X1I + X5I, B5R = X1R - X5R, B5I = X1I - X5I;
    const T B2R = X2R + X6R, B2I = X2I + X6I, B6R = X2R - X6R, B6I = X2I - X6I;
    const T B3R = X3R + X7R, B3I = X3I + X7I, B7R = X3R - X7R, B7I = X3I - X7I;
    // Differences turned by e^(+i pi q/4): q = 1 by (1+i)/sqrt2, q = 2 by i, q = 3 by (-1+i)/sqrt2.
    const T C5R = R2 * (B5R - B5I), C5I = R2 * (B5R + B5I);
    const T C6R = -B6I, C6I = B6R;
    const T C7R = -R2 * (B7R + B7I), C7I = R2 * (B7R - B7I);
    // Even outputs: radix-4 on the sums.
    const T E0R = B0R + B2R, E0I = B0I + B2I, E2R = B0R - B2R, E2I = B0I - B2I;
    const T E1R = B1R + B3R, E1I = B1I + B3I, E3R = B1R - B3R, E3I = B1I - B3I;
    T Y0R = E0R + E1R, Y0I = E0I + E1I;
    T Y4R = E0R - E1R, Y4I = E0I - E1I;
    T Y2R = E2R - E3I, Y2I = E2I + E3R;
    T Y6R = E2R + E3I, Y6I = E2I - E3R;
    // Odd outputs: radix-4 on the turned differences.
    const T O0R = B4R + C6R, O0I = B4I + C6I, O2R = B4R - C6R, O2I = B4I - C6I;
    const T O1R = C5R + C7R, O1I = C5I + C7I, O3R = C5R - C7R, O3I = C5I - C7I;
    T Y1R = O0R + O1R, Y1I = O0I + O1I;
    T Y5R = O0R - O1R, Y5I = O0I - O1I;
    T Y3R = O2R - O3I, Y3I = O2I + O3R;
    T Y7R = O2R + O3I, Y7I = O2I - O3R;
    if (W) {
        Rotate(Y1R, Y1I, W->C[1], W->S[1]), Rotate(Y2R, Y2I, W->C[2], W->S[2]);
        Rotate(Y3R, Y3I, W->C[3], W->S[3]), Rotate(Y4R, Y4I, W->C[4], W->S[4]);
        Rotate(Y5R, Y5I, W->C[5], W->S[5]), Rotate(Y6R, Y6I, W->C[6], W->S[6]);
        Rotate(Y7R, Y7I, W->C[7], W->S[7]);
    }
    Store(XR, Y0R), Store(XI, Y0I), Store(XR + NXTLT, Y4R), Store(XI + NXTLT, Y4I);
    Store(XR + 2 * NXTLT, Y2R), Store(XI + 2 * NXTLT, Y2I), Store(XR + 3 * NXTLT, Y6R), Store(XI + 3 * NXTLT, Y6I);
    Store(XR + 4 * NXTLT, Y1R), Store(XI + 4 * NXTLT, Y1I), Store(XR + 5 * NXTLT, Y5R), Store(XI + 5 * NXTLT, Y5I);
    Store(XR + 6 * NXTLT, Y3R), Store(XI + 6 * NXTLT, Y3I), Store(XR + 7 * NXTLT, Y7R), Store(XI + 7 * NXTLT, Y7I);
}

// The twiddle powers of one radix-8 pass: span NXTLT > 1, pass length LENGT = 8 NXTLT; the
// twiddles of offset J are the powers of e^(+i J 2 pi/LENGT), offsets in pairs (J, J + 1).
void FillPassTwiddles(int32_t NXTLT, TWIDDLES<PAIR>* W)
{
    const double SCALE = TWOPI / (8 * NXTLT);
    for (int32_t J = 0; J < NXTLT; J += 2) {
        const PAIR C1 = {std::cos(J * SCALE), std::cos((J + 1) * SCALE)};
        const PAIR S1 = {std::sin(J * SCALE), std::sin((J + 1) * SCALE)};
        W[J / 2] = TwiddlePowers(C1, S1);
    }
}

// Entries of the twiddle table of length 2^M: NXTLT / 2 for every radix-8 pass with NXTLT > 1.
size_t TwiddleEntries(int32_t M)
{
    size_t entries = 0;
    for (int32_t NXTLT = (1 << M) / 8; NXTLT > 1; NXTLT /= 8)
        entries += NXTLT / 2;
    return entries;
}

// One radix-8 pass of span NXTLT with its twiddles W. Offsets go in pairs, and in blocks of
// JBLOCK through all groups: each cache line of the eight inputs is used whole while it is in
// the cache, and two lines per input and visit keep the hardware prefetcher ahead even for the
// longest spans.
void Radix8Pass(int32_t N, int32_t NXTLT, const TWIDDLES<PAIR>* W, double* WORKR, double* WORKI)
{
    const int32_t LENGT = 8 * NXTLT;
    if (NXTLT == 1) {
        for (int32_t K = 0; K < N; K += LENGT)
            Radix8Butterfly<double>(WORKR + K, WORKI + K, NXTLT, nullptr);
        return;
    }
    const int32_t JBLOCK = 16;
    const int32_t NPAIRS = (NXTLT < JBLOCK ? NXTLT : JBLOCK) / 2;
    for (int32_t JB = 0; JB < NXTLT; JB += 2 * NPAIRS) {
        const TWIDDLES<PAIR>* WB = W + JB / 2;
        for (int32_t K = JB; K < N; K += LENGT)
            for (int32_t P = 0; P < NPAIRS; ++P)
                Radix8Butterfly(WORKR + K + 2 * P, WORKI + K + 2 * P, NXTLT, &WB[P]);
    }
}

// Closing radix-4 pass on adjacent groups, outputs in 2-bit reversed order.
void Radix4Pass(int32_t N, double* WORKR, double* WORKI)
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
void Radix2Pass(int32_t N, double* WORKR, double* WORKI)
{
    for (int32_t K = 0; K < N; K += 2) {
        const double AR = WORKR[K], AI = WORKI[K];
        WORKR[K] = AR + WORKR[K + 1], WORKI[K] = AI + WORKI[K + 1];
        WORKR[K + 1] = AR - WORKR[K + 1], WORKI[K + 1] = AI - WORKI[K + 1];
    }
}

// The low B bits of I in reverse order.
int32_t BitReverse(int32_t I, int32_t B)
{
    int32_t R = 0;
    for (int32_t L = 0; L < B; ++L, I >>= 1)
        R = (R << 1) | (I & 1);
    return R;
}

// Copies the work arrays back in bit-reversed order, which puts the passes' output in natural
// order, applying the closing conjugation (SIGN = -1) and the scale factor on the way.
// An index (A, B, C) with A and C of 3 bits reverses to (rev C, rev B, rev A), so for each
// middle part B an 8 x 8 block is gathered whole: every cache line is read and written once.
void CopyOutBitReversed(int32_t N, int32_t M, double* DATA, double SIGN, double FACTOR, const double* WORKR,
                        const double* WORKI)
{
    const double FACTORI = SIGN * FACTOR;
    if (M < 6) {
        for (int32_t I = 0; I < N; ++I) {
            const int32_t REV = BitReverse(I, M);
            DATA[2 * I] = FACTOR * WORKR[REV];
            DATA[2 * I + 1] = FACTORI * WORKI[REV];
        }
        return;
    }
    static const int32_t REV3[8] = {0, 4, 2, 6, 1, 5, 3, 7};
    const int32_t TOP = M - 3;
    double TR[8][8], TI[8][8];
    for (int32_t B = 0; B < N >> 6; ++B) {
        const int32_t REVB = BitReverse(B, M - 6) << 3;
        for (int32_t C = 0; C < 8; ++C) {
            const int32_t FROM = (REV3[C] << TOP) | REVB;
            for (int32_t A = 0; A < 8; ++A) {
                TR[REV3[A]][C] = WORKR[FROM + A];
                TI[REV3[A]][C] = WORKI[FROM + A];
            }
        }
        for (int32_t A = 0; A < 8; ++A) {
            double* TO = DATA + 2 * ((A << TOP) | (B << 3));
            for (int32_t C = 0; C < 8; ++C) {
                TO[2 * C] = FACTOR * TR[A][C];
                TO[2 * C + 1] = FACTORI * TI[A][C];
            }
        }
    }
}

// The work arrays of one thread (real and imaginary parts) and the twiddle tables of every
// length it has transformed. Each thread keeps its own for its whole life, so transforms on
// several threads never share them, and many transforms of one length allocate only once.
class FFTWork {
public:
    FFTWork() = default;
    FFTWork(const FFTWork&) = delete;
    FFTWork& operator=(const FFTWork&) = delete;
    ~FFTWork()
    {
        std::free(BLOCK);
        for (TWIDDLES<PAIR>* table : TABLE)
            std::free(table);
    }

    // Both arrays share one block, cache-line aligned, the imaginary parts PAD doubles past the
    // end of the real parts. A butterfly reads eight elements a power of two apart; an offset of
    // four cache lines past a multiple of eight keeps its real and imaginary lines in different
    // cache sets whatever that span is.
    bool Grow(int32_t N)
    {
        const int32_t PAD = 32;
        if (N <= NWORK)
            return true;
        const size_t BYTES = (sizeof(double) * (2 * size_t(N) + PAD) + 63) / 64 * 64;
        double* GROWN = static_cast<double*>(std::aligned_alloc(64, BYTES));
        if (!GROWN)
            return false;
        std::free(BLOCK);
        BLOCK = GROWN;
        WORKR = BLOCK;
        WORKI = BLOCK + N + PAD;
        NWORK = N;
        return true;
    }

    // The twiddle table of length 2^M, made on its first use; null when it cannot be allocated.
    const TWIDDLES<PAIR>* Twiddles(int32_t M)
    {
        if (TABLE[M] || TwiddleEntries(M) == 0)
            return TABLE[M];
        TWIDDLES<PAIR>* W =
            static_cast<TWIDDLES<PAIR>*>(std::aligned_alloc(64, (TwiddleEntries(M) * sizeof *W + 63) / 64 * 64));
        if (!W)
            return nullptr;
        TWIDDLES<PAIR>* PASS = W;
        for (int32_t NXTLT = (1 << M) / 8; NXTLT > 1; NXTLT /= 8) {
            FillPassTwiddles(NXTLT, PASS);
            PASS += NXTLT / 2;
        }
        return TABLE[M] = W;
    }

    double* WORKR = nullptr;
    double* WORKI = nullptr;

private:
    double* BLOCK = nullptr;
    int32_t NWORK = 0;
    TWIDDLES<PAIR>* TABLE[MMAX + 1] = {};
};

thread_local FFTWork WORK;

} // namespace

int32_t ComplexFFT(int forward, int32_t n, double* data)
{
    const int32_t M = Log2Length(n);
    if (M < 0 || !WORK.Grow(n))
        return -1;
    const TWIDDLES<PAIR>* W = WORK.Twiddles(M);
    if (!W && TwiddleEntries(M) > 0)
        return -1;
    double* WORKR = WORK.WORKR;
    double* WORKI = WORK.WORKI;
    const double SIGN = forward ? -1.0 : 1.0;
    CopyIn(n, data, SIGN, WORKR, WORKI);
    int32_t NXTLT = n;
    for (int32_t P = 1; P <= M / 3; ++P) {
        NXTLT /= 8;
        Radix8Pass(n, NXTLT, W, WORKR, WORKI);
        if (NXTLT > 1)
            W += NXTLT / 2;
    }
    if (M % 3 == 1)
        Radix2Pass(n, WORKR, WORKI);
    else if (M % 3 == 2)
        Radix4Pass(n, WORKR, WORKI);
    // A power of two, so multiplying by 1/N is exact and equal to dividing by N.
    CopyOutBitReversed(n, M, data, SIGN, forward ? 1.0 : 1.0 / n, WORKR, WORKI);
    return 0;
}
