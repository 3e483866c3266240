// Needle tables: the value -> direction mapping of a needle with a nonlinearity table.
//
//   NeedleTable t = NeedleTable::build(entries, count, pivot);   // checks the table
//   double degrees = t.map(1250.0);   // clockwise from 3 o'clock, not wrapped to 360
//
// Each entry's point gives a direction about the pivot. From each entry to the next the
// needle turns clockwise (a half turn between opposite points, none between equal
// points); between entries the angle is linear in the value; beyond either end the end
// segment's slope carries on, so a two-entry table turns without limit and an end
// segment whose two points coincide holds the needle there.
#ifndef TARN_HOST_NONLINEARITY_H
#define TARN_HOST_NONLINEARITY_H

#include <string>
#include <vector>

#include "framework/gauge.h"

namespace tarn {

// A table the host cannot use; row is the 1-based entry concerned (0: the whole table).
struct TableError {
    int row;
    std::string message;
};

class NeedleTable {
public:
    // Throws TableError: fewer than two entries, a value that is not finite, values not
    // in one order (ascending or descending), all values equal, a point on the pivot.
    // Writes each entry's direction into its `degrees` field.
    static NeedleTable build(NONLINEARITY* entries, uint32_t count, PIXPOINT pivot);

    // Degrees clockwise on screen from 3 o'clock, unwrapped; NaN for a NaN value.
    double map(double value) const;

    size_t size() const { return values_.size(); }

private:
    std::vector<double> values_;  // ascending (negated when the table descends)
    std::vector<double> angles_;  // cumulative clockwise angle of each entry
    bool negate_ = false;
};

// Direction of a point seen from the pivot, degrees clockwise from 3 o'clock, in [0, 360).
double direction_degrees(PIXPOINT pivot, PIXPOINT point);

}  // namespace tarn

#endif
