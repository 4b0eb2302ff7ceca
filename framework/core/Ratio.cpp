#include "framework/core/Ratio.h"

namespace Quoll
{
void Ratio::Set(int32_t numerator, int32_t denominator)
{
    if (numerator == 0 && denominator == 0)
    {
        mNumerator = 0;
        mDenominator = 1;
        return;
    }
    int64_t a = numerator;
    int64_t b = denominator;
    while (b != 0)
    {
        const int64_t r = a % b;
        a = b;
        b = r;
    }
    mNumerator = static_cast<int32_t>(numerator / a);
    mDenominator = static_cast<int32_t>(denominator / a);
}
} // namespace Quoll
