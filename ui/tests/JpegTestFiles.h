// This file implements the JPEG files the tests decode, encoded with libjpeg directly (not
// through the code under test), from pixels given as R, G, B or gray bytes, rows top first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

std::string EncodeTestJpeg(int Width, int Height, int Channels, const std::vector<std::uint8_t>& Pixels,
                           int Quality = 95);
