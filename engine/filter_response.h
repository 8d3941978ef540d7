#pragma once
// The filter response of the inverse run: the wavenumber window selected by ITYP followed by
// the response selected by IND, applied to one complex spectral value. Everything that makes
// one filter differ from another lives behind FilterResponse.

#include <cstdint>

struct ResponseRequest;

// The run's parameters the kernel reads. The inverse run fills one of these from its filter
// section and spectrum header; a test can fill one by hand.
struct FilterParams {
    double HEAD = 0.0;              // head wavenumber 1/WHEAD, cycles per grid unit (0 when unset)
    double SHLD = 0.0;              // shoulder wavenumber 1/WSHLD (0 when unset)
    struct { double STRIKE = 0.0, HASTR = 0.0; } pass;   // azimuths, degrees
    struct { double Z = 0.0; } cont;                      // height (up positive) or layer depth
    double FACTOR = 1.0;            // scaling factor of pseudo-gravity and susceptibility
    double CG = 1.0, SG = 0.0;      // cos and sin of GRSTR
    int32_t IDIR = 0;               // 1 x, 2 y, 3 z, 4 along GRSTR
    struct { double T1 = 0.0, T2 = 0.0, T3 = 0.0; } dir;  // field direction cosines L, M, N
    struct { double T1 = 0.0, T2 = 0.0, T3 = 0.0; } mag;  // magnetisation cosines L', M', N'
    double C1 = 0.0, C2 = 0.0;      // c1 = 2 pi 10^n, c2 = c1^2 (derivative units)
    struct { double DX = 0.0, DY = 0.0; } scale;          // cell sizes, grid units
    double FLOOR = 0.0;             // IND 14 to 16: sin^2 of the limit inclination
    const ResponseRequest* PARTS = nullptr;   // IND 18: the requests whose product it is
    int32_t NPARTS = 0;
};

// One response request of the filter section: the codes and wavelengths of its line 2, the
// values of the lines after it as written, and the kernel's parameters made from them.
struct ResponseRequest {
    int32_t IND = 0, ITYP = 0;
    double WHEAD = 0.0, WSHLD = 0.0;
    double GRSTR = 0.0;                                 // IND 2 along IDIR 4, degrees
    struct { double DEC = 0.0, INC = 0.0; } field, magn; // degrees
    double LIMIT = 0.0;                                 // IND 14 to 16: limit inclination, degrees
    FilterParams p;
};

// The most requests a composite (IND 18) multiplies.
const int32_t MAX_PARTS = 8;

// Responses by IND (the lines after line 2 of the filter section in brackets; values outside 1 to
// 18 behave as 2):
//   1 window only; 2 first derivative along IDIR with continuation [IDIR; GRSTR if IDIR 4; Z];
//   3 continuation [Z]; 4 second derivative [IDIR]; 5 reduction to the pole [D I D' I'];
//   6 pseudo-gravity [D I D' I' F]; 7 apparent susceptibility of a layer [Z D I D' I' F];
//   8 apparent density of a layer; 9 third derivative; 10 integration [IDIR];
//   11 field components [D I]; 12 total horizontal gradient [Z];
//   13 total horizontal gradient of the pseudo-gravity [D I D' I' F; Z].
// Stabilised for low inclinations: 5, 6 and 7 with the gain of the division by the direction
// factors limited to 1/sin^2 IC, the largest it has for an induced field at the limit inclination
// IC (degrees). IC ends their direction line; 0 gives the plain division:
//   14 reduction to the pole [D I D' I' IC]; 15 pseudo-gravity [D I D' I' F IC];
//   16 apparent susceptibility of a layer [Z D I D' I' F IC].
//   17 third vertical derivative, c1 c2 k k0^2: 9 along z, since 9 reads no IDIR.
//   18 composite: the product of N requests [N; then each request's line 2 and its own lines].
//      Each factor is the value a single run of that request makes of it, window included, so
//      a composite of one request is that request exactly. N is 0 to MAX_PARTS; a request in a
//      composite must be a single-pass one (not 11 to 13, nor 18 again). The removed mean is
//      restored only when every factor would restore it (1, 3, 5, 14): their product keeps the
//      data's units and level; any other factor zeroes or rescales the mean, so none is added.
// Windows by ITYP, applied before the response: 0 and 3 none; 1 low pass; 2 and negative high
// pass; 4 directional pass, 5 reject; 6 reject with the low-pass roll-off; 7 and from 10 on high
// pass times the directional pass; 8 and 9 below.
// Smooth directional taper, 8 removing the features that strike along STRIKE, 9 keeping them.
// Line 2 is "IND ITYP WHEAD WSHLD STRIKE HASTR", as for 6. theta is the angle of (u, v) from the
// normal to the strike, where those features' energy lies, and T = |STRIKE - HASTR|. The reject
// factor g = 1 - exp(-ln 2 (theta/T)^2) is 0 at theta 0, 1/2 at T, 1 - 2^-9 at 3 T; keep is 1 - g;
// the mean passes. WHEAD 0 applies the factor a at every wavelength; WHEAD > 0 only at the short
// ones, a + (1 - a) rho with rho the low pass of ITYP 1 (1 up to 1/WHEAD, 1/2 at 1/WSHLD).
// ITYP 8 or 9: the taper's line 2 and cut-off differ from the other windows'.
bool IsDirectionalTaper(int32_t ITYP);
// Multiplies z = (z[0] + i z[1]) by the window of ITYP and the response of IND at the
// wavenumber (u, v), cycles per grid unit along x and y.
void FilterResponse(const FilterParams& p, double u, double v, double z[2], int32_t IND, int32_t ITYP);
// FilterResponse at (u, v) into zPlus and at (-u, v) into zMinus: the two share k, so a radial
// window is computed once for both.
void FilterResponsePair(const FilterParams& p, double u, double v, double zPlus[2], double zMinus[2], int32_t IND,
                        int32_t ITYP);
