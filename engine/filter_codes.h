#pragma once
// The codes of the inverse run's filter section by name, for the front end that writes them and
// the engine that reads them: the response (IND), the wavenumber window (ITYP) and the direction
// of a derivative (IDIR). What each computes is described beside FilterResponse.

namespace filter_codes {

enum Response : int {
    WindowOnly = 1,
    Derivative = 2,
    Continuation = 3,
    SecondDerivative = 4,
    ReductionToPole = 5,
    PseudoGravity = 6,
    LayerSusceptibility = 7,
    LayerDensity = 8,
    ThirdDerivative = 9,
    Integration = 10,
    FieldComponents = 11,
    HorizontalGradient = 12,
    PseudoGravityGradient = 13,
    StableReductionToPole = 14,
    StablePseudoGravity = 15,
    StableLayerSusceptibility = 16,
    ThirdVerticalDerivative = 17,
    Composite = 18,
};

enum Window : int {
    NoWindow = 0,
    LowPass = 1,
    HighPass = 2,
    UnitWindow = 3, // none either: the factor is 1
    StrikePass = 4,
    StrikeReject = 5,
    ShortStrikeReject = 6,
    TaperReject = 8,
    TaperKeep = 9,
};

enum Direction : int { AlongX = 1, AlongY = 2, Vertical = 3, AlongAzimuth = 4 };

} // namespace filter_codes
