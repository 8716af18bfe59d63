// This file declares the ratios the benchmark program prints after its run: each one divides the
// median time of one benchmark by that of another measured in the same run, with the target the
// ratio must stay under (0 when there is none).
#pragma once

struct TBenchRatio {
  const char* Label;
  const char* Numerator;    // benchmark function names, as registered
  const char* Denominator;
  double Target;
};

// Registers a ratio; returns true, so that a file can register at static initialisation.
bool AddBenchRatio(const TBenchRatio& Ratio);
