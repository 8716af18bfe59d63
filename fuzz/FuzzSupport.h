// This file implements what the fuzz targets share: the input as 1252 text, its split into parts,
// and the check that stops a run on a broken invariant.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "AnsiString.h"

namespace Fuzz {

inline String Text(const std::uint8_t* Data, std::size_t Size) {
  return String(reinterpret_cast<const char*>(Data), Size);
}

// The input cut at each Separator byte, into at most Count parts (the last takes the rest).
inline std::vector<String> Parts(const String& Input, char Separator, std::size_t Count) {
  std::vector<String> Out;
  std::size_t Start = 0;
  while (Out.size() + 1 < Count) {
    std::size_t At = Input.find(Separator, Start);
    if (At == String::npos) break;
    Out.push_back(Input.substr(Start, At - Start));
    Start = At + 1;
  }
  Out.push_back(Input.substr(Start));
  Out.resize(Count);
  return Out;
}

// A broken invariant is a finding like a crash: the fuzzer keeps the input that showed it.
[[noreturn]] inline void Broken(const char* What) {
  std::fprintf(stderr, "invariant broken: %s\n", What);
  std::abort();
}

inline void Check(bool Holds, const char* What) {
  if (!Holds) Broken(What);
}

}  // namespace Fuzz
