#include "host/draw/snapshot.h"

#include "host/core/host.h"
#include "host/draw/render.h"

namespace tarn {

SnapshotWriter png_snapshot_writer() {
    return [](const std::string& path, const PanelHost& host, const GaugeInstance* one) {
        Image picture = one != nullptr ? snapshot_gauge(*one) : snapshot_gauges(host.instances());
        std::string why;
        return write_png(picture, path, kPngFast, &why) ? std::string() : why;
    };
}

void enable_snapshots(ScenarioRunner& runner) { runner.set_snapshot_writer(png_snapshot_writer()); }

}  // namespace tarn
