// Speed of the simulator link: one FlightGear line parsed and written into the store, and
// one poll that drains a flood of lines from the loopback.
//   tarn_bench --benchmark_filter=Link
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "host/core/host.h"
#include "host/core/variables.h"
#include "host/link/binding.h"
#include "host/link/link.h"

namespace {

std::string shipped_line(const tarn::Protocol& p) {
    std::vector<double> values;
    for (size_t i = 0; i < p.output.chunks.size(); ++i) values.push_back(1.0 + 37.25 * double(i));
    std::string line = tarn::format_line(values, p.output);
    line.pop_back();
    return line;
}

// A line of the shipped protocol file (73 fields) parsed and applied.
void BM_LinkParseAndApplyLine(benchmark::State& state) {
    const std::string dir = tarn::find_link_dir();
    const tarn::FlightGearBinding fg(tarn::read_protocol(dir + "/flightgear/tarn-panel.xml"),
                                     tarn::read_mapping(dir + "/mapping.tsv"));
    const std::string line = shipped_line(fg.protocol());
    tarn::VariableStore vars;
    std::vector<double> values;
    for (auto _ : state) {
        if (tarn::parse_line(line, fg.protocol().output, values) != tarn::LineStatus::ok) state.SkipWithError("bad line");
        fg.in().apply(values, vars);
    }
    state.counters["fields"] = double(values.size());
}
BENCHMARK(BM_LinkParseAndApplyLine);

// A poll that reads range(0) waiting lines (a flood) and keeps the newest.
void BM_LinkPollDrainsFlood(benchmark::State& state) {
    tarn::LinkAddress a = tarn::parse_link_address("flightgear");
    a.listen_host = "127.0.0.1";
    a.port = 0;
    tarn::SimLink link(a, tarn::find_link_dir());
    tarn::PanelHost host(TARN_TEST_GAUGES_DIR);
    const std::string dir = tarn::find_link_dir();
    const std::string line = shipped_line(tarn::read_protocol(dir + "/flightgear/tarn-panel.xml")) + "\n";
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(uint16_t(link.local_port()));
    double now = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < state.range(0); ++i)
            sendto(fd, line.data(), line.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        state.ResumeTiming();
        link.poll(host, now += 0.05);
    }
    close(fd);
    state.counters["frames"] = double(link.stats().frames);
    state.counters["skipped"] = double(link.stats().skipped);
}
BENCHMARK(BM_LinkPollDrainsFlood)->Arg(1)->Arg(100)->Arg(1000);

}  // namespace
