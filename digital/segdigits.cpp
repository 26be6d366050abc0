#include "segdigits.h"

#include <QtGlobal>

namespace SegDigits {

std::array<int, 3> digits(int value)
{
    const int v = qBound(0, value, kLargestShown);
    const int hundreds = v / 100;
    const int tens = (v % 100) / 10;
    const int ones = v % 10;
    return {hundreds == 0 ? kBlank : hundreds, hundreds == 0 && tens == 0 ? kBlank : tens, ones};
}

} // namespace SegDigits
