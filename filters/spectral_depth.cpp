// Depths to the top of source ensembles from straight segments of the radial log power spectrum.

#include "power_spectrum.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace I2DFourierFilters {

namespace {

constexpr double Pi = 3.14159265358979323846;

// Least-squares lines over any run of consecutive rings, from prefix sums.
class LineFits {
public:
    explicit LineFits(const std::vector<SpectrumRing>& rings)
        : sx_(rings.size() + 1), sy_(rings.size() + 1), sxx_(rings.size() + 1), sxy_(rings.size() + 1),
          syy_(rings.size() + 1)
    {
        for (size_t i = 0; i < rings.size(); ++i) {
            const double x = rings[i].wavenumber, y = rings[i].lnPower;
            sx_[i + 1] = sx_[i] + x;
            sy_[i + 1] = sy_[i] + y;
            sxx_[i + 1] = sxx_[i] + x * x;
            sxy_[i + 1] = sxy_[i] + x * y;
            syy_[i + 1] = syy_[i] + y * y;
        }
    }
    // Rings first ... last - 1.
    DepthSegment fit(size_t first, size_t last) const
    {
        const double n = double(last - first);
        const double mx = (sx_[last] - sx_[first]) / n, my = (sy_[last] - sy_[first]) / n;
        const double cxx = sxx_[last] - sxx_[first] - n * mx * mx;
        const double cxy = sxy_[last] - sxy_[first] - n * mx * my;
        DepthSegment segment;
        segment.rings = int(last - first);
        segment.slope = cxx > 0 ? cxy / cxx : 0.0;
        segment.intercept = my - segment.slope * mx;
        segment.depth = -segment.slope / (4 * Pi);
        return segment;
    }
    double residual(size_t first, size_t last) const
    {
        const double n = double(last - first);
        const double mx = (sx_[last] - sx_[first]) / n, my = (sy_[last] - sy_[first]) / n;
        const double cxx = sxx_[last] - sxx_[first] - n * mx * mx;
        const double cxy = sxy_[last] - sxy_[first] - n * mx * my;
        const double cyy = syy_[last] - syy_[first] - n * my * my;
        return std::max(0.0, cxx > 0 ? cyy - cxy * cxy / cxx : cyy);
    }

private:
    std::vector<double> sx_, sy_, sxx_, sxy_, syy_;
};

// Ends (exclusive) of the count segments over rings first ... last - 1 whose lines leave the least
// total squared residual, each at least MinRingsPerSegment rings long.
std::vector<size_t> optimalBreaks(const LineFits& fits, size_t first, size_t last, int count)
{
    const size_t n = last - first, m = MinRingsPerSegment;
    const double none = std::numeric_limits<double>::infinity();
    // cost[s][j]: s + 1 segments over the first j rings; from[s][j]: where the last of them starts.
    std::vector<std::vector<double>> cost(size_t(count), std::vector<double>(n + 1, none));
    std::vector<std::vector<size_t>> from(size_t(count), std::vector<size_t>(n + 1, 0));
    for (size_t j = m; j <= n; ++j)
        cost[0][j] = fits.residual(first, first + j);
    for (size_t s = 1; s < size_t(count); ++s)
        for (size_t j = (s + 1) * m; j <= n; ++j)
            for (size_t i = s * m; i + m <= j; ++i) {
                const double total = cost[s - 1][i] + fits.residual(first + i, first + j);
                if (total < cost[s][j]) {
                    cost[s][j] = total;
                    from[s][j] = i;
                }
            }
    std::vector<size_t> ends(static_cast<size_t>(count));
    size_t end = n;
    for (size_t s = size_t(count); s-- > 0;) {
        ends[s] = first + end;
        end = from[s][end];
    }
    return ends;
}

std::vector<DepthSegment> segmentsAt(const LineFits& fits, const std::vector<SpectrumRing>& rings, size_t first,
                                     const std::vector<size_t>& ends)
{
    std::vector<DepthSegment> segments;
    for (size_t end : ends) {
        DepthSegment segment = fits.fit(first, end);
        segment.range = {rings[first].wavenumber, rings[end - 1].wavenumber};
        segments.push_back(segment);
        first = end;
    }
    return segments;
}

// A last segment along which ln P falls by less than 1 from 0 to the Nyquist wavenumber: flat, so
// noise or gridding rather than sources.
bool isNoiseFloor(const DepthSegment& segment, double nyquist)
{
    return segment.slope * nyquist > -1.0;
}

QString rangeText(const WavenumberRange& range, const WavenumberUnit& unit)
{
    return QStringLiteral("%1-%2 %3")
        .arg(range.from * unit.perGridUnit, 0, 'g', 4)
        .arg(range.to * unit.perGridUnit, 0, 'g', 4)
        .arg(unit.name)
        .trimmed();
}

} // namespace

QString rangesRejection(const std::vector<WavenumberRange>& ranges, const WavenumberUnit& unit)
{
    for (const WavenumberRange& range : ranges)
        if (!std::isfinite(range.from) || !std::isfinite(range.to) || range.from < 0 || range.to <= range.from)
            return QStringLiteral("wavenumber range %1 is empty: it needs 0 <= K1 < K2").arg(rangeText(range, unit));
    std::vector<WavenumberRange> sorted = ranges;
    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.from < b.from; });
    for (size_t i = 1; i < sorted.size(); ++i)
        if (sorted[i].from < sorted[i - 1].to)
            return QStringLiteral("wavenumber ranges %1 and %2 overlap")
                .arg(rangeText(sorted[i - 1], unit), rangeText(sorted[i], unit));
    if (ranges.size() > size_t(MaxEnsembles))
        return QStringLiteral("%1 wavenumber ranges given; at most %2 ensembles can be fitted")
            .arg(ranges.size())
            .arg(MaxEnsembles);
    return QString();
}

namespace {

bool fitRanges(const RadialSpectrum& spectrum, std::vector<WavenumberRange> ranges,
               std::vector<DepthSegment>& segments, QString& error, const WavenumberUnit& unit)
{
    std::sort(ranges.begin(), ranges.end(), [](const auto& a, const auto& b) { return a.from < b.from; });
    const std::vector<SpectrumRing>& rings = spectrum.rings;
    const LineFits fits(rings);
    for (const WavenumberRange& range : ranges) {
        const auto first = std::lower_bound(rings.begin(), rings.end(), range.from,
                                            [](const SpectrumRing& r, double k) { return r.wavenumber < k; });
        const auto last = std::upper_bound(first, rings.end(), range.to,
                                           [](double k, const SpectrumRing& r) { return k < r.wavenumber; });
        if (last - first < MinRingsPerSegment) {
            error = QStringLiteral("wavenumber range %1 holds %2 rings of the spectrum (ring width %3 %4); "
                                   "a segment needs at least %5")
                        .arg(rangeText(range, unit))
                        .arg(last - first)
                        .arg(spectrum.ringWidth * unit.perGridUnit, 0, 'g', 3)
                        .arg(unit.name)
                        .arg(MinRingsPerSegment);
            return false;
        }
        const std::vector<DepthSegment> one = segmentsAt(fits, rings, size_t(first - rings.begin()),
                                                         {size_t(last - rings.begin())});
        segments.push_back(one.front());
    }
    return true;
}

bool fitAutomatically(const RadialSpectrum& spectrum, int ensembles, std::vector<DepthSegment>& segments,
                      QString& error, const WavenumberUnit& unit)
{
    const std::vector<SpectrumRing>& rings = spectrum.rings;
    const size_t first = size_t(std::lower_bound(rings.begin(), rings.end(), spectrum.lowestReliable,
                                                 [](const SpectrumRing& r, double k) { return r.wavenumber < k; })
                                - rings.begin());
    const size_t usable = rings.size() - first, needed = size_t(ensembles) * MinRingsPerSegment;
    if (usable < needed) {
        error = QStringLiteral("the grid gives %1 wavenumber rings above %2 %3 (waves shorter than the data's "
                               "extent); %4 ensembles need at least %5: use a larger grid or fewer ensembles")
                    .arg(usable)
                    .arg(spectrum.lowestReliable * unit.perGridUnit, 0, 'g', 3)
                    .arg(unit.name)
                    .arg(ensembles)
                    .arg(needed);
        return false;
    }
    const LineFits fits(rings);
    // One segment more than asked: when the last one is flat it is the noise floor, and the
    // ensembles are fitted below it.
    size_t last = rings.size();
    if (usable >= needed + MinRingsPerSegment) {
        const std::vector<size_t> ends = optimalBreaks(fits, first, last, ensembles + 1);
        if (isNoiseFloor(segmentsAt(fits, rings, first, ends).back(), spectrum.rings.back().wavenumber))
            last = ends[size_t(ensembles) - 1];
    }
    segments = segmentsAt(fits, rings, first, optimalBreaks(fits, first, last, ensembles));
    return true;
}

} // namespace

bool estimateDepths(const RadialSpectrum& spectrum, int ensembles, std::vector<WavenumberRange> ranges,
                    std::vector<DepthSegment>& segments, QString& error, const WavenumberUnit& unit)
{
    segments.clear();
    if (!ranges.empty())
        ensembles = int(ranges.size());
    if (ensembles < 1 || ensembles > MaxEnsembles) {
        error = QStringLiteral("%1 source ensembles asked for; 1 to %2 can be fitted").arg(ensembles).arg(MaxEnsembles);
        return false;
    }
    error = rangesRejection(ranges, unit);
    if (!error.isEmpty())
        return false;
    if (!(ranges.empty() ? fitAutomatically(spectrum, ensembles, segments, error, unit)
                         : fitRanges(spectrum, ranges, segments, error, unit)))
        return false;
    for (const DepthSegment& segment : segments)
        if (!(segment.slope < 0)) {
            error = QStringLiteral("ln P does not fall with wavenumber over %1: no depth there; give other "
                                   "ranges or fewer ensembles")
                        .arg(rangeText(segment.range, unit));
            segments.clear();
            return false;
        }
    return true;
}

} // namespace I2DFourierFilters
