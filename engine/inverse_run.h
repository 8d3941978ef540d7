#pragma once
// The inverse engine run: reads the filter section of the control file and the spectrum the
// forward run stored, applies the requested filter, transforms back and returns the filtered
// points of the data footprint (in memory, or in the points file when no vector is given).
// One object serves one run; runs must not overlap (fixed file names).

#include "filter_points.h"
#include "filter_response.h"
#include "work_block.h"

#include <cstdint>
#include <cstdio>
#include <vector>

class InverseRun {
public:
    InverseRun(const char* controlFileName, FilterPoints* output); // output may be null: then the points file is written
    ~InverseRun();        // calls Close
    bool DUVERU2_inv();   // the whole run
    void Close();         // closes every handle, frees every table but the spare block; safe after an early stop
    // A block the run takes for its filtered grid when it is large enough (from
    // ForwardRun::TakeTransformBlock or an earlier inverse run); otherwise it is freed and the grid
    // allocated anew.
    void ReuseBlock(WorkBlock block) { spare = std::move(block); }
    // After the run: the block of its filtered grid, for the next inverse run on the same spectrum.
    WorkBlock TakeSpareBlock() { return std::move(spare); }

    InverseRun(const InverseRun&) = delete;
    InverseRun& operator=(const InverseRun&) = delete;

private:
    // Run frame (inverse_run.cpp)
    bool RunStages();
    bool OpenFiles();
    bool ReadControlLines();
    bool OpenScratchFiles();
    void ReadRequestLine(const char* line2, ResponseRequest& r);
    void LogWindowParameters(const ResponseRequest& r);
    bool ReadExtraLines(ResponseRequest& r);
    bool ReadParts(ResponseRequest& r);
    void ReadDirectionLines(int32_t indNow, ResponseRequest& r);
    void ComputeDirectionCosines(ResponseRequest& r);
    void SetDerivativeUnits();
    void CompleteKernelParams(ResponseRequest& r) const;
    bool AllocateWorkArrays();
    double* FilteredGridBlock(size_t doubles);
    // The console log alone; with standard output; a stop (with standard error, returns false).
    void Log(const char* format, ...);
    void LogOut(const char* format, ...);
    bool Fail(const char* format, ...);

    // Spectrum header (spectrum_header.cpp)
    bool ReadSpectrumHeader();
    bool ReadHeaderFields();
    bool CheckHeader();
    bool ReadRangeTables();
    void PrintHeader(int32_t call) const;

    // Transform passes and output (inverse_transform.cpp)
    // What one transformed column hands on: its footprint points as (X, Y, value) triples with
    // their least and greatest value, or the record a directional pass parks.
    struct ColumnOutput {
        std::vector<double> values;
        double VMIN = 1e20, VMAX = -1e20;
    };
    bool TransformPass();
    bool FilterRows(const FilterParams& params);
    bool FilterAndTransformRows(const FilterParams& params, int32_t j0, int32_t count, double* rows);
    bool TransformColumns();
    bool TransformColumn(int32_t x, const double* half, double* column, ColumnOutput& out) const;
    void KeepColumn(int32_t x, const double* column) const;
    void EmittedPoints(int32_t x, const double* column, ColumnOutput& out) const;
    bool HandOnColumn(const ColumnOutput& out);
    bool RestoresLevel(const ResponseRequest& r) const;
    void FootprintRows(int32_t x, int32_t& first, int32_t& last) const;
    bool InRowRange(int32_t x, int32_t y) const;
    // visit(y) for every row y of column x inside the data footprint, in ascending order.
    template <typename Visit>
    void ForEachFootprintRow(int32_t x, Visit visit) const
    {
        int32_t first, last;
        FootprintRows(x, first, last);
        for (int32_t y = first; y <= last; ++y)
            if (InRowRange(x, y))
                visit(y);
    }
    void PointCoordinates(int32_t x, int32_t y, double& X, double& Y) const;
    void AppendPoint(double X, double Y, double value);
    void WriteSpectrumRecordHeader();
    void DumpGrid();
    double* Cell(int32_t y, int32_t x) const { return GRID + 2 * ((size_t)y * (NX + 1) + x); }

    // Component and gradient passes (component_passes.cpp)
    bool ComponentPasses();
    void ParkedRecord(int32_t x, const double* column, ColumnOutput& out) const;
    bool ParkColumn(const ColumnOutput& out);
    bool ReadScratchRecord(FILE* file, const char* name, double* column);
    bool CombineGradient();
    bool RecoverComponents();
    void RecoverColumn(int32_t x, double stats[4]);

    // Peak picking (peak_picking.cpp)
    void PickPeaks();

    // Files, null when closed
    FILE* fpt1 = nullptr;    // control file
    FILE* fpt6 = nullptr;    // log
    FILE* fpt15 = nullptr;   // spectrum file
    FILE* fpt16 = nullptr;   // filtered-spectrum record
    FILE* fpt17 = nullptr;   // points file
    FILE* fpt18 = nullptr;   // peaks file
    FILE* fpt10 = nullptr;   // scratch x
    FILE* fpt20 = nullptr;   // scratch y
    FILE* fpt30 = nullptr;   // scratch z
    char controlFileName[2048] = {0};
    char spectrumFileName[2048] = {0};
    const int32_t DIM1 = 32768;
    FilterPoints* output = nullptr;

    // Filter section
    int32_t OMODE = 0, PKPIK = 0, ISSAVE = 0, IOUT = 0;
    ResponseRequest request;            // the filter the run applies
    ResponseRequest parts[MAX_PARTS];   // IND 18: the requests it multiplies, in order
    double UNIT = 1.0, C1 = 0.0, C2 = 0.0;   // 10^n, 2 pi 10^n, c1^2

    // Spectrum header
    double XMIN = 0.0, XMAX = 0.0, YMIN = 0.0, YMAX = 0.0, XPMIN = 0.0, YPMIN = 0.0;
    struct { double DX = 0.0, DY = 0.0, AV = 0.0; } scale;
    struct { double CT = 1.0, ST = 0.0; } angle;
    int32_t NX = 0, NY = 0, LX = 0, LY = 0, NTAILX = 0, NTAILY = 0;
    int32_t IS = 0, IF = 0, JS = 0, JF = 0;
    int32_t (*COLRNG)[2] = nullptr;   // 1..NX: first and last data row of each column
    int32_t (*ROWRNG)[2] = nullptr;   // 1..NY: first and last data column of each row

    // Transform
    int32_t LX2 = 0, LY2 = 0, LY21 = 0, LMAX = 0, NROWS = 0;
    double* GRID = nullptr;   // complex, rows 0..NROWS by columns 0..NX
    WorkBlock spare;
    size_t gridDoubles = 0;
    double* GX = nullptr;     // real work columns of the multi-pass responses
    double* GY = nullptr;
    double* GZ = nullptr;
    long NPTS = 0;            // points emitted in the run
    double VMIN = 1e20, VMAX = -1e20;
};
