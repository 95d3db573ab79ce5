// The model: the input fields typed on the data window and the fields derived from them.
#pragma once

#include "model/SourceOptions.h"

namespace kavrin {

// Lengths in metres, times in days, concentrations in mg/L.
struct ModelState {
    double C0 = 0, SourceWidth = 0, SourceHeight = 0, PlaneZ = 0;
    double X0 = 0, X1 = 0, DX = 0, Y0 = 0, Y1 = 0, DY = 0;
    double T0 = 0, T1 = 0, DT = 0;
    double AlphaX = 0, AlphaY = 0, AlphaZ = 0;
    double Kxx = 0, GradH = 0, Retardation = 0, Porosity = 0, Decay = 0;
    int GaussOrder = 0;
    SourceOptions source;  // the history, the zones beyond the first, the control plane

    double Velocity = 0, DispX = 0, DispY = 0, DispZ = 0;
    int NX = 0, NY = 0;
    double YMin = 0, YMax = 0, ZMin = 0, ZMax = 0;
};

}  // namespace kavrin
