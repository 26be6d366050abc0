#pragma once

#include <array>

// What the three digits of a segment number show for a whole-number value.
namespace SegDigits {

constexpr int kBlank = 10;
constexpr int kLargestShown = 999;

// Hundreds, tens and ones. Leading zeros are blank and the ones digit is
// always shown. Three digits cannot hold more than 999, so larger values
// show 999 (the panel reads "full" rather than wrapping to a small number);
// negative values show 0.
std::array<int, 3> digits(int value);

} // namespace SegDigits
