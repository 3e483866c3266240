// The scenario runner's `snapshot` command, drawn with the host's renderer.
//
//   tarn::ScenarioRunner runner(gauges_dir, std::cout);
//   tarn::enable_snapshots(runner);     // without it, `snapshot` is "not available in this build"
#ifndef TARN_HOST_DRAW_SNAPSHOT_H
#define TARN_HOST_DRAW_SNAPSHOT_H

#include "host/core/scenario.h"

namespace tarn {

// The writer: one instance at its own size, or every instance in rows, as a PNG file.
SnapshotWriter png_snapshot_writer();
void enable_snapshots(ScenarioRunner& runner);

}  // namespace tarn

#endif
