// Whole numbers out of floating-point arithmetic, for gauge callbacks that cut a computed
// value to an integer or hand it to the host as an icon frame (the host draws the frame
// of the value's integer part).
//
//   const int32_t seconds = truncated(snap_whole(d * 3600.0 / knots));  // 400, not 399
//   return snap_whole(degrees + 20.0);                                   // 5, not 4.999...
//
// A value that is whole in exact arithmetic can come out of a chain of multiplications and
// divisions a few units in the last place below the whole number (10 NM at 90 kt is
// 399.99999999999994 s as hours x 60 x 60), and cutting it toward zero then loses a unit.
// snap_whole puts a value lying within 1e-12 of a whole number (relative to the value, or
// absolute below 1) on that number: thousands of units in the last place, far more than the
// rounding of a few operations reaches (in double or in 80-bit intermediates), and far less
// than any reading the gauges show. A value further off is a true fraction and stays as it is (39.56 s is still
// cut to 39 s), as do NaN and the infinities.
//
// Header only: each module compiles its own copy, as the modules share nothing at run time.
// Only for computed values: a simulator value cut to an integer as it stands is left alone.
#ifndef TARN_FRAMEWORK_WHOLE_NUMBER_H
#define TARN_FRAMEWORK_WHOLE_NUMBER_H

#include <cmath>

inline double snap_whole(double v) {
    const double nearest = std::round(v);  // NaN for NaN; the infinity itself for one
    const double size = std::fabs(v) > 1.0 ? std::fabs(v) : 1.0;
    // For an infinity the difference is NaN and the comparison false.
    return std::fabs(v - nearest) <= 1e-12 * size ? nearest : v;
}

#endif
