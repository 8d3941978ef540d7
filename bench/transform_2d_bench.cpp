// The 2D transforms of an 8192 x 8192 padded grid against FFTW's real 2D transforms:
//  - "2D forward transform": the forward run's transform stage (Y into STORE, then X row by row,
//    records written to /dev/null) on an extended grid of 8192 x 8192 cells; FFTW: r2c.
//  - "inverse transform": a whole inverse run (low pass) on a spectrum file of that grid whose
//    data block is the middle 5120 x 5120 cells (a 5120 x 5120 grid with the usual tails);
//    FFTW: c2r of the same half spectrum.
// Each iteration is one transform; the grid and the spectrum file are made outside the timing.

#include "forward_state.h"
#include "inverse_run.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const int32_t N = 8192;       // transform length along both axes
const int32_t DATA = 5120;    // data cells along both axes in the inverse run's footprint
const int32_t TAIL = (N - DATA) / 2;

double Field(int32_t ix, int32_t iy)
{
    return 80.0 * std::sin(ix / 37.0) * std::cos(iy / 53.0) + 0.01 * (ix - iy);
}

// A forward-run state whose extended grid is the whole V, ready for the transform stage.
struct TransformStage {
    ForwardState s;
    TransformStage()
    {
        s.memoryLimit = SIZE_MAX;
        s.NTOTX = s.NTOTY = s.NX = s.NY = N;
        s.LX = s.LY = N;
        s.LY21 = N / 2 + 1;
        s.D = static_cast<double*>(RunCalloc(s, 2 * static_cast<size_t>(s.DIM1), sizeof(double)));
        s.STORE = static_cast<double*>(RunCalloc(s, 2 * static_cast<size_t>(s.LY21) * s.NX, sizeof(double)));
        s.fpt15 = std::fopen("/dev/null", "wb");
    }
    ~TransformStage()
    {
        FreeGrid(s);
        RunFree(s, s.D, 2 * static_cast<size_t>(s.DIM1) * sizeof(double));
        RunFree(s, s.STORE, 2 * static_cast<size_t>(s.LY21) * s.NX * sizeof(double));
        if (s.fpt15)
            std::fclose(s.fpt15);
    }
    // The transform frees V, so every iteration gets a new one.
    bool FillGrid()
    {
        if (!AllocateGrid(s))
            return false;
        for (int32_t ix = 1; ix <= N; ++ix)
            for (int32_t iy = 1; iy <= N; ++iy)
                s.V[ix][iy] = Field(ix, iy);
        return true;
    }
};

void ForwardOurs(benchmark::State& state)
{
    TransformStage stage;
    if (!stage.s.D || !stage.s.STORE || !stage.s.fpt15) {
        state.SkipWithError("cannot allocate the transform stage");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        bool filled = stage.FillGrid();
        state.ResumeTiming();
        if (!filled || !TransformAndWriteSpectrum(stage.s)) {
            state.SkipWithError("transform stage failed");
            return;
        }
    }
}

void ForwardFftw(benchmark::State& state)
{
    double* in = fftw_alloc_real(static_cast<size_t>(N) * N);
    fftw_complex* out = fftw_alloc_complex(static_cast<size_t>(N) * (N / 2 + 1));
    fftw_plan plan = fftw_plan_dft_r2c_2d(N, N, in, out, FFTW_ESTIMATE);
    for (int32_t ix = 0; ix < N; ++ix)
        for (int32_t iy = 0; iy < N; ++iy)
            in[static_cast<size_t>(ix) * N + iy] = Field(ix + 1, iy + 1);
    for (auto _ : state) {
        fftw_execute(plan);
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(plan);
    fftw_free(out);
    fftw_free(in);
}

// Scratch folder holding FILTER.INP and the spectrum file of the inverse run, made once.
const std::filesystem::path& InverseFolder()
{
    static const std::filesystem::path folder = [] {
        std::filesystem::path dir = std::filesystem::temp_directory_path() / "spectrafil-bench-inverse";
        std::filesystem::create_directories(dir);
        FILE* control = std::fopen((dir / "FILTER.INP").c_str(), "w");
        std::fprintf(control, "Bench\nFFinput.dat\n0 0 0 0\n25 25\n1\n2\n3\n1\n0\n0 0\n0\n0 0\n"
                              "Perform filtering\n2 0 0 1\n1 1 750 500\n");
        std::fclose(control);
        FILE* f = std::fopen((dir / "fpt15_2D_FWD_SPEC_FILTER.BIN").c_str(), "wb");
        const double cell = 25, origin = 0;
        const int32_t first = TAIL + 1, last = TAIL + DATA;
        auto put = [f](const auto& item) { std::fwrite(&item, sizeof item, 1, f); };
        for (double d : {origin + TAIL * cell, origin + (last - 1) * cell, origin + TAIL * cell,
                         origin + (last - 1) * cell, cell, cell, origin, origin})
            put(d);
        for (int32_t n : {N, N, N, N})
            put(n);
        for (double d : {100.0, 1.0, 0.0})
            put(d);
        for (int32_t n : {2 * TAIL, 2 * TAIL, first, last, first, last})
            put(n);
        for (int32_t table = 0; table < 4; ++table)
            for (int32_t k = 0; k < DATA; ++k)
                put(table % 2 == 0 ? first : last);
        std::vector<double> record(2 * static_cast<size_t>(N));
        for (int32_t ky = 0; ky <= N / 2; ++ky) {
            for (int32_t kx = 0; kx < N; ++kx) {
                double decay = 1e6 / (1.0 + kx * kx / 64.0 + ky * ky / 64.0);
                record[2 * kx] = decay * std::cos(0.1 * kx + 0.3 * ky);
                record[2 * kx + 1] = ky == 0 || ky == N / 2 ? 0.0 : decay * std::sin(0.2 * kx - 0.1 * ky);
            }
            std::fwrite(record.data(), sizeof(double), record.size(), f);
        }
        std::fclose(f);
        return dir;
    }();
    return folder;
}

void InverseOurs(benchmark::State& state)
{
    std::filesystem::path back = std::filesystem::current_path();
    std::filesystem::current_path(InverseFolder());
    FilterPoints points;
    for (auto _ : state) {
        InverseRun run("FILTER.INP", &points);
        if (!run.DUVERU2_inv()) {
            state.SkipWithError("inverse run failed");
            break;
        }
    }
    std::filesystem::current_path(back);
}

void InverseFftw(benchmark::State& state)
{
    size_t half = static_cast<size_t>(N) * (N / 2 + 1);
    fftw_complex* in = fftw_alloc_complex(half);
    double* out = fftw_alloc_real(static_cast<size_t>(N) * N);
    fftw_plan plan = fftw_plan_dft_c2r_2d(N, N, in, out, FFTW_ESTIMATE);
    std::vector<double> spectrum(2 * half);
    for (size_t k = 0; k < spectrum.size(); ++k)
        spectrum[k] = 1.0 / (1.0 + static_cast<double>(k % 4099));
    for (auto _ : state) {
        state.PauseTiming(); // c2r overwrites its input
        std::memcpy(in, spectrum.data(), spectrum.size() * sizeof(double));
        state.ResumeTiming();
        fftw_execute(plan);
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(plan);
    fftw_free(out);
    fftw_free(in);
}

} // namespace

BENCHMARK(ForwardOurs)->Name("2D forward transform:ours/8192")->Unit(benchmark::kMillisecond);
BENCHMARK(ForwardFftw)->Name("2D forward transform:fftw/8192")->Unit(benchmark::kMillisecond);
BENCHMARK(InverseOurs)->Name("inverse transform:ours/8192")->Unit(benchmark::kMillisecond);
BENCHMARK(InverseFftw)->Name("inverse transform:fftw/8192")->Unit(benchmark::kMillisecond);
