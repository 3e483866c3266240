// Scenario scripts: drive gauges through the host and check what the pilot would see.
//
//   ScenarioRunner runner(gauges_dir, std::cout);
//   runner.run_file("tests/scenarios/engines.scn");  // throws ScenarioError on bad input
//   std::cout << runner.passed() << " passed, " << runner.failed() << " failed\n";
//
// One command a line; a '#' that begins a word starts a comment (so NAME#K is one word); "double quotes" make one word
// in which a backslash is an ordinary character. Each script starts from a fresh host
// with freshly loaded modules, every variable 0, no instances and the clock at 0. The
// commands are listed in the README.
#ifndef TARN_HOST_SCENARIO_H
#define TARN_HOST_SCENARIO_H

#include <functional>
#include <map>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarn {

class PanelHost;
class GaugeInstance;

// Bad input in a script: FILE:LINE: message. Exit status 2.
class ScenarioError : public std::runtime_error {
public:
    ScenarioError(const std::string& file, int line, const std::string& message)
        : std::runtime_error(file + ":" + std::to_string(line) + ": " + message) {}
};

// One word of a script line.
struct Word {
    std::string text;
    bool quoted = false;
};

// Splits a line into words; throws std::invalid_argument on an unterminated quote.
std::vector<Word> split_words(const std::string& line);

// The `snapshot` command's drawing: writes instance `one` (every instance when null) as a
// PNG file and returns an empty text, or why it could not. The host's core does not draw;
// a build that does hands the runner its writer (host/draw/snapshot.h).
using SnapshotWriter =
    std::function<std::string(const std::string& path, const PanelHost& host, const GaugeInstance* one)>;

class ScenarioRunner {
public:
    ScenarioRunner(std::string gauges_dir, std::ostream& out);
    void set_snapshot_writer(SnapshotWriter writer) { snapshot_ = std::move(writer); }

    void run_file(const std::string& path);
    void run_text(const std::string& name, const std::string& text);
    // A script on a host that already runs (not reset), whose instances already have
    // names (a panel's gauges); it may name more with `gauge`.
    void run_file_on(PanelHost& host, const std::map<std::string, GaugeInstance*>& names, const std::string& path);

    int passed() const { return passed_; }
    int failed() const { return failed_; }

private:
    std::string gauges_dir_;
    std::ostream& out_;
    SnapshotWriter snapshot_;
    int passed_ = 0;
    int failed_ = 0;
};

}  // namespace tarn

#endif
