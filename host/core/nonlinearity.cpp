#include "host/core/nonlinearity.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tarn {

double direction_degrees(PIXPOINT pivot, PIXPOINT point) {
    double d = std::atan2(double(point.y - pivot.y), double(point.x - pivot.x)) * 180.0 / std::numbers::pi;
    return d < 0 ? d + 360.0 : d;
}

NeedleTable NeedleTable::build(NONLINEARITY* entries, uint32_t count, PIXPOINT pivot) {
    if (entries == nullptr || count < 2) throw TableError{0, "a table needs at least two entries"};
    NeedleTable t;
    bool up = false, down = false;
    for (uint32_t i = 0; i < count; ++i) {
        const int row = int(i) + 1;
        if (!std::isfinite(entries[i].value)) throw TableError{row, "the value is not a finite number"};
        if (entries[i].pt.x == pivot.x && entries[i].pt.y == pivot.y)
            throw TableError{row, "the point lies on the needle pivot, so it gives no direction"};
        if (i > 0) {
            if (entries[i].value > entries[i - 1].value) up = true;
            if (entries[i].value < entries[i - 1].value) down = true;
            if (up && down) throw TableError{row, "values must run in one order, ascending or descending"};
        }
    }
    if (!up && !down) throw TableError{0, "all values are equal"};
    t.negate_ = down;
    double angle = 0.0;
    for (uint32_t i = 0; i < count; ++i) {
        double direction = direction_degrees(pivot, entries[i].pt);
        entries[i].degrees = direction;
        if (i == 0) {
            angle = direction;
        } else {
            double step = std::fmod(direction - entries[i - 1].degrees + 360.0, 360.0);
            if (entries[i].pt.x == entries[i - 1].pt.x && entries[i].pt.y == entries[i - 1].pt.y) step = 0.0;
            angle += step;
        }
        t.values_.push_back(t.negate_ ? -entries[i].value : entries[i].value);
        t.angles_.push_back(angle);
    }
    return t;
}

double NeedleTable::map(double value) const {
    if (std::isnan(value)) return value;
    const double v = negate_ ? -value : value;
    const size_t n = values_.size();
    // Segment i runs from entry i to entry i + 1; the end segments carry on beyond.
    size_t i;
    if (v <= values_.front()) {
        i = 0;
    } else if (v >= values_.back()) {
        i = n - 2;
        // A value on the last entry itself: take the last segment that reaches it.
    } else {
        i = size_t(std::upper_bound(values_.begin(), values_.end(), v) - values_.begin()) - 1;
    }
    const double width = values_[i + 1] - values_[i];
    if (width == 0.0) return v <= values_[i] && i == 0 ? angles_[0] : angles_[i + 1];
    const double slope = (angles_[i + 1] - angles_[i]) / width;
    return angles_[i] + (v - values_[i]) * slope;
}

}  // namespace tarn
