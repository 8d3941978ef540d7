// ComplexFFT against FFTW's estimated plan for the same in-place forward transform.
// Benchmark names are "<row>:<implementation>/<size>"; bench/table.py pairs them into rows.

#include "complex_fft.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

// An unscaled forward transform grows the data by about sqrt(N) per call, so the input is
// restored (outside the timed region) often enough to keep it far from overflow.
const int64_t RESTORE_EVERY = 16;

std::vector<double> RandomSignal(int64_t n)
{
    std::mt19937 gen(42);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::vector<double> x(2 * n);
    for (double& v : x)
        v = u(gen);
    return x;
}

void Restore(benchmark::State& state, int64_t iteration, double* data, const std::vector<double>& input)
{
    if (iteration % RESTORE_EVERY != 0)
        return;
    state.PauseTiming();
    std::memcpy(data, input.data(), input.size() * sizeof(double));
    state.ResumeTiming();
}

void Ours(benchmark::State& state)
{
    const int32_t n = static_cast<int32_t>(state.range(0));
    const std::vector<double> input = RandomSignal(n);
    std::vector<double> data = input;
    ComplexFFT(1, n, data.data()); // grows the work arrays before timing
    int64_t iteration = 0;
    for (auto _ : state) {
        Restore(state, iteration++, data.data(), input);
        benchmark::DoNotOptimize(ComplexFFT(1, n, data.data()));
        benchmark::ClobberMemory();
    }
}

void Fftw(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> input = RandomSignal(n);
    fftw_complex* data = fftw_alloc_complex(n);
    fftw_plan plan = fftw_plan_dft_1d(n, data, data, FFTW_FORWARD, FFTW_ESTIMATE);
    std::memcpy(data, input.data(), input.size() * sizeof(double));
    int64_t iteration = 0;
    for (auto _ : state) {
        Restore(state, iteration++, &data[0][0], input);
        fftw_execute(plan);
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(plan);
    fftw_free(data);
}

} // namespace

BENCHMARK(Ours)->Name("complex FFT:ours")->Arg(1 << 10)->Arg(1 << 13)->Arg(1 << 15);
BENCHMARK(Fftw)->Name("complex FFT:fftw")->Arg(1 << 10)->Arg(1 << 13)->Arg(1 << 15);
