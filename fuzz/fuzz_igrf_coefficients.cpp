// The IGRF coefficient file. A file the reader takes must then give coefficients and a field at
// both ends of the years it claims, so that a model that loads but cannot be used is found too.

#include "fuzz_support.h"
#include "igrf_model.h"
#include "main_field.h"

#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::EnterScratchFolder("fuzz_igrf_coefficients");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::WriteFile("igrf.txt", data, size);
    geomag::IgrfModel model;
    std::string error;
    if (!geomag::loadIgrfModel("igrf.txt", model, error))
        return 0;
    for (const double year : {model.firstYear, model.lastYear}) {
        geomag::GaussCoefficients coefficients;
        geomag::MainField field;
        geomag::igrfCoefficientsAt(model, year, coefficients, error);
        geomag::igrfField(model, -21.958, 140.667, 0.0, year, field, error);
    }
    return 0;
}
