// The simulator link: the shipped protocol file and mapping table agree and convert the
// simulator's units; bad files are refused with file and line; bad lines and packets are
// refused; a test sender on 127.0.0.1 drives a FlightGear link and a fake X-Plane an
// X-Plane link (frames, floods, bad data, link loss, a click's round trip); and a linked
// headless flight draws what the sender sends, and LINK LOST without it.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "host/core/aircraft.h"
#include "host/core/host.h"
#include "host/core/key_events.h"
#include "host/core/variables.h"
#include "host/draw/banner.h"
#include "host/draw/bitmap.h"
#include "host/draw/fly.h"
#include "host/link/binding.h"
#include "host/link/link.h"
#include "host/link/xplane.h"

namespace {

namespace fs = std::filesystem;
using namespace tarn;

std::string link_dir() { return find_link_dir(); }
Protocol shipped_protocol() { return read_protocol(link_dir() + "/flightgear/tarn-panel.xml"); }
Mapping shipped_mapping() { return read_mapping(link_dir() + "/mapping.tsv"); }

// A line of the protocol's output section: the named properties set, the others 0.
std::string fg_line(const Protocol& p, const std::map<std::string, double>& set) {
    std::vector<double> values;
    for (const Chunk& c : p.output.chunks) {
        auto it = set.find(c.node);
        values.push_back(it == set.end() ? 0.0 : it->second);
    }
    return format_line(values, p.output);
}

// The message of the LinkError that `f` throws, or "" when it throws none.
template <typename F>
std::string error_of(F f) {
    try {
        f();
    } catch (const LinkError& e) {
        return e.what();
    }
    return "";
}

// A UDP socket on 127.0.0.1, at a port of the system's choosing.
class Udp {
public:
    Udp() {
        fd_ = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        socklen_t len = sizeof a;
        getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
    }
    ~Udp() { close(fd_); }
    int port() const { return port_; }
    void send(int port, const void* data, size_t size) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(uint16_t(port));
        sendto(fd_, data, size, 0, reinterpret_cast<sockaddr*>(&a), sizeof a);
    }
    void send(int port, const std::string& s) { send(port, s.data(), s.size()); }
    void send(int port, const std::vector<uint8_t>& b) { send(port, b.data(), b.size()); }
    // Every datagram that comes within `ms` of the last; `from_port` is the last sender's.
    std::vector<std::vector<uint8_t>> receive(int ms = 300, int* from_port = nullptr) {
        std::vector<std::vector<uint8_t>> got;
        pollfd p{fd_, POLLIN, 0};
        while (::poll(&p, 1, ms) > 0) {
            std::vector<uint8_t> b(65536);
            sockaddr_in from{};
            socklen_t len = sizeof from;
            const ssize_t n = recvfrom(fd_, b.data(), b.size(), 0, reinterpret_cast<sockaddr*>(&from), &len);
            if (n < 0) break;
            b.resize(size_t(n));
            got.push_back(std::move(b));
            if (from_port) *from_port = ntohs(from.sin_port);
            ms = 50;
        }
        return got;
    }

private:
    int fd_ = -1;
    int port_ = 0;
};

// Data sent on the loopback reaches the other socket within a moment.
void settle() { std::this_thread::sleep_for(std::chrono::milliseconds(30)); }

/* ---- the shipped files -------------------------------------------------------------- */

TEST(LinkFiles, ShippedTableAndProtocolAgreeAndConvertUnits) {
    const Protocol p = shipped_protocol();
    FlightGearBinding fg(p, shipped_mapping());  // throws on any disagreement
    ASSERT_GE(fg.elapsed_chunk(), 0);
    EXPECT_GE(p.output.chunks.size(), 60u);
    EXPECT_GE(p.input.chunks.size(), 20u);

    VariableStore vars;
    std::vector<double> values;
    std::string line = fg_line(p, {{"/engines/engine[0]/rpm", 2400},
                                   {"/engines/engine[0]/mp-inhg", 25},
                                   {"/engines/engine[0]/oil-temperature-degf", 180},
                                   {"/engines/engine[0]/oil-pressure-psi", 60},
                                   {"/instrumentation/vertical-speed-indicator/indicated-speed-fpm", 1000},
                                   {"/instrumentation/attitude-indicator/indicated-roll-deg", 10},
                                   {"/position/altitude-agl-ft", 1000},
                                   {"/controls/switches/magnetos", 2},
                                   {"/instrumentation/nav[0]/from-flag", 1},
                                   {"/instrumentation/marker-beacon/middle", 1},
                                   {"/surface-positions/flap-pos-norm", 0.5}});
    ASSERT_EQ(line.back(), '\n');
    line.pop_back();
    ASSERT_EQ(parse_line(line, p.output, values), LineStatus::ok);
    fg.in().apply(values, vars);
    EXPECT_DOUBLE_EQ(vars.number(390), 2400);
    EXPECT_NEAR(vars.number(391), 25 * kPsfPerInHg, 1e-6);
    EXPECT_NEAR(rankine_to_celsius(vars.number(416)), 82.22, 0.01);  // 180 F
    EXPECT_NEAR(vars.number(418), 60 * kPsfPerPsi, 1e-6);
    EXPECT_NEAR(vars.number(65), 1300.48, 0.01);  // 1000 ft/min as m/s x 256
    EXPECT_DOUBLE_EQ(vars.number(80), -10);       // right wing down turns the card the other way
    EXPECT_NEAR(vars.number(614), 304.8, 1e-6);
    EXPECT_EQ(vars.number(399), 0);  // magnetos 2: the second only
    EXPECT_EQ(vars.number(400), 1);
    EXPECT_EQ(vars.number(853), -1);  // FROM
    EXPECT_EQ(vars.number(354), 2);   // middle marker
    EXPECT_NEAR(vars.number(329), 8191.5, 1e-6);

    XPlaneBinding xp(shipped_mapping());
    EXPECT_GE(xp.names().size(), 50u);
    EXPECT_EQ(xp.command(66300), "sim/starters/engage_starter_1");
    vars.set_number(364, 1);
    const auto drefs = xp.event_datarefs(*find_key_event(66241), vars);
    ASSERT_EQ(drefs.size(), 1u);
    EXPECT_EQ(drefs[0].first, "sim/cockpit2/electrical/battery_on[0]");
    EXPECT_EQ(drefs[0].second, 1);
}

TEST(LinkFiles, BadFilesAreRefusedWithFileAndLine) {
    const std::string ok_output =
        "<PropertyList><generic><output>\n"
        "<chunk><node>/a</node></chunk>\n"
        "</output></generic></PropertyList>\n";
    EXPECT_NO_THROW(parse_protocol(ok_output, "p.xml"));
    const std::pair<const char*, const char*> bad_protocols[] = {
        {"<PropertyList><generic>\n<output>\n<chunk>", "p.xml:3: "},  // cut short
        {"<Other/>", "p.xml:1: the file starts with <Other>"},
        {"<PropertyList><generic><output>\n<chunk><type>string</type><node>/a</node></chunk></output></generic></PropertyList>",
         "p.xml:2: chunk type 'string'"},
        {"<PropertyList><generic><output><binary_mode>true</binary_mode>\n</output></generic></PropertyList>",
         "p.xml:1: binary mode"},
        {"<PropertyList><generic><output>\n\n<chunk><name>x</name></chunk></output></generic></PropertyList>",
         "p.xml:3: the chunk 'x' has no <node>"},
        {"<PropertyList><generic><output>\n<chunk><node>/a</node><factor>0</factor></chunk></output></generic></PropertyList>",
         "p.xml:2: <factor> 0"},
        {"<PropertyList><generic><input><chunk><node>/a</node></chunk></input></generic></PropertyList>",
         "p.xml:1: no <generic><output> section"},
        {"<PropertyList><generic><output><var_separator>newline</var_separator>\n<chunk><node>/a</node></chunk>"
         "</output></generic></PropertyList>",
         "separators are empty or the same"},
    };
    for (const auto& [text, message] : bad_protocols)
        EXPECT_NE(error_of([&] { parse_protocol(text, "p.xml"); }).find(message), std::string::npos)
            << text << " -> " << error_of([&] { parse_protocol(text, "p.xml"); });

    const std::pair<const char*, const char*> bad_tables[] = {
        {"in 61 /a 1 0 - - -\nup 61 /a 1 0 - - -\n", "m.tsv:2: 'up': a row starts with in, out or cmnd"},
        {"# only\nin 61 /a 1 0\n", "m.tsv:2: 5 fields where a in row has 8"},
        {"in x /a 1 0 - - -\n", "m.tsv:1: 'x' is not a variable"},
        {"in 61 /a one 0 - - -\n", "m.tsv:1: scale 'one'"},
        {"in 61 a 1 0 - - -\n", "m.tsv:1: 'a': a FlightGear property path starts with /"},
        {"in 61 - - - - - -\n", "m.tsv:1: the row names neither simulator"},
        {"cmnd 66300 /a - - x\n", "m.tsv:1: a cmnd row has '-'"},
        {"\n# nothing\n", "m.tsv:1: no rows"},
    };
    for (const auto& [text, message] : bad_tables)
        EXPECT_NE(error_of([&] { parse_mapping(text, "m.tsv"); }).find(message), std::string::npos)
            << text << " -> " << error_of([&] { parse_mapping(text, "m.tsv"); });

    // Table and protocol file disagree.
    const std::string both =
        "<PropertyList><generic><output>\n<chunk><node>/a</node></chunk>\n<chunk><node>/b</node></chunk>\n</output>\n"
        "<input>\n<chunk><node>/b</node></chunk>\n</input></generic></PropertyList>\n";
    const Protocol p = parse_protocol(both, "p.xml");
    EXPECT_NO_THROW(FlightGearBinding(p, parse_mapping("in 1 /a 1 0 - - -\nin 2 /b 1 0 - - -\nout 2 /b 1 0 - - -\n", "m.tsv")));
    const std::pair<const char*, const char*> disagreements[] = {
        {"in 1 /a 1 0 - - -\nin 2 /b 1 0 - - -\nin 3 /c 1 0 - - -\nout 2 /b 1 0 - - -\n",
         "m.tsv:3: /c is not a chunk of the output section of p.xml"},
        {"in 1 /a 1 0 - - -\nout 2 /b 1 0 - - -\n", "p.xml:3: /b has no in row in m.tsv"},
        {"in 1 /a 1 0 - - -\nin 2 /b 1 0 - - -\n", "p.xml:6: /b has no out row in m.tsv"},
        {"in 1 /a 1 0 - - -\nin 2 /b 1 0 - - -\nout 2 /b 1 0 - - -\nout 1 /c 1 0 - - -\n",
         "m.tsv:4: /c is not a chunk of the input section"},
    };
    for (const auto& [table, message] : disagreements)
        EXPECT_NE(error_of([&] { FlightGearBinding(p, parse_mapping(table, "m.tsv")); }).find(message), std::string::npos)
            << table << " -> " << error_of([&] { FlightGearBinding(p, parse_mapping(table, "m.tsv")); });
}

TEST(LinkLines, WrongCountsNonNumbersNanAndInfinityAreRefused) {
    const Protocol p = parse_protocol(
        "<PropertyList><generic><output><var_separator>;</var_separator>"
        "<chunk><node>/a</node></chunk><chunk><node>/b</node><factor>2</factor><offset>1</offset></chunk>"
        "</output></generic></PropertyList>",
        "p.xml");
    std::vector<double> v;
    ASSERT_EQ(parse_line(" 1.5 ; 7 ", p.output, v), LineStatus::ok);
    EXPECT_EQ(v, (std::vector<double>{1.5, 3.0}));  // (7 - 1) / 2
    const std::pair<const char*, LineStatus> bad[] = {
        {"1", LineStatus::wrong_count},   {"1;2;3", LineStatus::wrong_count}, {"", LineStatus::not_number},
        {"1;", LineStatus::not_number},   {"1;x", LineStatus::not_number},    {"1;2x", LineStatus::not_number},
        {"1,5;2", LineStatus::not_number}, {"nan;2", LineStatus::not_finite}, {"1;inf", LineStatus::not_finite},
        {"1;1e999", LineStatus::not_finite},
    };
    for (const auto& [line, status] : bad) EXPECT_EQ(parse_line(line, p.output, v), status) << line;
}

TEST(XPlanePackets, BuiltAsPublishedAndReadBack) {
    const std::vector<uint8_t> rref = rref_request(20, 7, "sim/a/b");
    ASSERT_EQ(rref.size(), 413u);
    EXPECT_EQ(std::string(rref.begin(), rref.begin() + 5), std::string("RREF\0", 5));
    EXPECT_EQ(rref[5], 20);  // little-endian
    EXPECT_EQ(rref[9], 7);
    int32_t hz, index;
    std::string name;
    ASSERT_TRUE(parse_rref_request(rref.data(), rref.size(), hz, index, name));
    EXPECT_EQ(name, "sim/a/b");
    const std::vector<uint8_t> dref = dref_packet(1.5f, "sim/c");
    ASSERT_EQ(dref.size(), 509u);
    float value;
    ASSERT_TRUE(parse_dref(dref.data(), dref.size(), value, name));
    EXPECT_EQ(value, 1.5f);
    EXPECT_EQ(name, "sim/c");
    const std::vector<uint8_t> cmnd = cmnd_packet("sim/starters/engage_starter_1");
    ASSERT_TRUE(parse_cmnd(cmnd.data(), cmnd.size(), name));
    EXPECT_EQ(name, "sim/starters/engage_starter_1");

    std::vector<std::pair<int32_t, float>> pairs;
    std::vector<uint8_t> answer = rref_answer({{0, 120.f}, {3, -2.5f}});
    ASSERT_EQ(parse_rref(answer.data(), answer.size(), pairs), PacketStatus::ok);
    EXPECT_EQ(pairs, (std::vector<std::pair<int32_t, float>>{{0, 120.f}, {3, -2.5f}}));
    answer.pop_back();
    EXPECT_EQ(parse_rref(answer.data(), answer.size(), pairs), PacketStatus::bad_length);
    answer = rref_answer({});
    EXPECT_EQ(parse_rref(answer.data(), answer.size(), pairs), PacketStatus::bad_length);
    for (float f : {NAN, INFINITY}) {
        answer = rref_answer({{0, 1.f}, {1, f}});
        EXPECT_EQ(parse_rref(answer.data(), answer.size(), pairs), PacketStatus::not_finite);
    }
    EXPECT_EQ(parse_rref(dref.data(), dref.size(), pairs), PacketStatus::not_rref);
}

/* ---- links on the loopback ---------------------------------------------------------- */

TEST(FlightGearLink, FramesFloodsBadLinesLossAndAClickRoundTrip) {
    const Protocol p = shipped_protocol();
    Udp flightgear;  // sends the output lines and takes the input lines
    LinkAddress a = parse_link_address("flightgear");
    a.listen_host = "127.0.0.1";
    a.port = 0;
    a.send_port = flightgear.port();
    SimLink link(a, link_dir());
    PanelHost host(TARN_TEST_GAUGES_DIR);
    VariableStore& vars = host.vars();
    const int port = link.local_port();
    ASSERT_GT(port, 0);

    // A click before the first frame is not sent: the store holds the model's controls.
    host.send_key_event(66241, 0);
    link.poll(host, 0);
    EXPECT_TRUE(flightgear.receive(100).empty());
    EXPECT_EQ(link.stats().sent, 0u);
    EXPECT_FALSE(link.lost(0.9));
    EXPECT_TRUE(link.lost(1.0));  // nothing came in the first second

    // Before the simulator runs its lines are all zeros: not applied.
    vars.set_number(61, 55);
    flightgear.send(port, fg_line(p, {{"/instrumentation/airspeed-indicator/indicated-speed-kt", 0}}));
    settle();
    link.poll(host, 1.0);
    EXPECT_EQ(vars.number(61), 55);
    EXPECT_EQ(link.stats().waiting, 1u);
    EXPECT_FALSE(link.lost(1.5));

    const std::map<std::string, double> state = {{"/sim/time/elapsed-sec", 30},
                                                 {"/instrumentation/airspeed-indicator/indicated-speed-kt", 120},
                                                 {"/engines/engine[0]/rpm", 2400},
                                                 {"/controls/engines/current-engine/throttle", 0.75},
                                                 {"/controls/switches/magnetos", 3},
                                                 {"/controls/switches/master-bat", 0}};
    flightgear.send(port, fg_line(p, state));
    settle();
    link.poll(host, 2.0);
    EXPECT_EQ(vars.number(61), 120);
    EXPECT_EQ(vars.number(390), 2400);
    EXPECT_EQ(link.stats().frames, 1u);

    // A flood: everything waiting is read, the newest line wins.
    for (int i = 1; i <= 300; ++i) {
        auto s = state;
        s["/instrumentation/airspeed-indicator/indicated-speed-kt"] = i;
        flightgear.send(port, fg_line(p, s));
    }
    settle();
    link.poll(host, 2.1);
    EXPECT_EQ(vars.number(61), 300);
    EXPECT_EQ(link.stats().frames, 301u);

    // Bad lines are counted and skipped; the values hold. Two lines in one datagram are both read.
    std::string good = fg_line(p, state);
    good.pop_back();
    std::string wrong_count = good + ",1\n", text = "x" + good + "\n", nan = "nan" + good.substr(good.find(',')) + "\n",
                inf = good + "\n" + good.substr(0, good.rfind(',')) + ",inf\n";
    for (const std::string& bad : {wrong_count, text, nan, inf}) flightgear.send(port, bad);
    settle();
    link.poll(host, 2.2);
    EXPECT_EQ(link.stats().skipped, 4u);
    EXPECT_EQ(link.stats().frames, 302u);  // the good first line of the last datagram
    EXPECT_EQ(vars.number(61), 120);
    EXPECT_EQ(link.last_problem(), "a field is NaN or infinite");

    // The model's step writes a linked variable: the frame's value is back after the poll.
    vars.set_number(390, 0);
    link.poll(host, 2.3);
    EXPECT_EQ(vars.number(390), 2400);

    // A click: the battery master goes out in the input section's format with the rest of
    // the state as FlightGear sent it; the switch follows FlightGear's next frame.
    host.send_key_event(66241, 0);
    link.poll(host, 2.4);
    auto lines = flightgear.receive();
    ASSERT_EQ(lines.size(), 1u);
    const std::string sent(lines[0].begin(), lines[0].end());
    ASSERT_EQ(sent.back(), '\n');
    std::vector<double> values;
    ASSERT_EQ(parse_line(sent.substr(0, sent.size() - 1), p.input, values), LineStatus::ok) << sent;
    EXPECT_EQ(values[size_t(p.input.find("/controls/switches/master-bat"))], 1);
    EXPECT_EQ(values[size_t(p.input.find("/controls/switches/magnetos"))], 3);
    EXPECT_EQ(values[size_t(p.input.find("/controls/engines/current-engine/throttle"))], 0.75);
    EXPECT_EQ(link.stats().sent, 1u);
    EXPECT_EQ(vars.number(364), 0);  // until FlightGear says otherwise
    auto on = state;
    on["/controls/switches/master-bat"] = 1;
    flightgear.send(port, fg_line(p, on));
    settle();
    link.poll(host, 2.5);
    EXPECT_EQ(vars.number(364), 1);
    // An event FlightGear takes no part in is not sent.
    host.send_key_event(66046, 0);  // align the gyro with the compass
    link.poll(host, 2.6);
    EXPECT_TRUE(flightgear.receive(100).empty());
    EXPECT_EQ(link.stats().sent, 1u);

    // No data for a second: lost, values hold.
    link.poll(host, 3.6);
    EXPECT_TRUE(link.lost(3.6));
    EXPECT_EQ(vars.number(61), 120);
    EXPECT_NE(link.status(3.6).find("303 frames, 4 skipped, 1 events sent, LINK LOST"), std::string::npos)
        << link.status(3.6);
}

TEST(XPlaneLink, SubscribesReadsAnswersAndSendsDatarefsAndCommands) {
    Udp xplane;
    LinkAddress a = parse_link_address("xplane:127.0.0.1:" + std::to_string(xplane.port()));
    EXPECT_EQ(a.port, xplane.port());
    a.listen_host = "127.0.0.1";
    const XPlaneBinding binding(shipped_mapping());
    SimLink link(a, link_dir());
    PanelHost host(TARN_TEST_GAUGES_DIR);
    VariableStore& vars = host.vars();

    link.poll(host, 0);
    int panel_port = 0;
    auto requests = xplane.receive(300, &panel_port);
    ASSERT_EQ(requests.size(), binding.names().size());
    std::map<std::string, int32_t> index;
    for (const auto& r : requests) {
        int32_t hz, i;
        std::string name;
        ASSERT_TRUE(parse_rref_request(r.data(), r.size(), hz, i, name));
        EXPECT_EQ(hz, 20);
        index[name] = i;
    }
    const int32_t airspeed = index.at("sim/cockpit2/gauges/indicators/airspeed_kts_pilot");
    const int32_t rpm = index.at("sim/cockpit2/engine/indicators/engine_speed_rpm[0]");
    const int32_t oil = index.at("sim/cockpit2/engine/indicators/oil_temperature_deg_C[0]");

    xplane.send(panel_port, rref_answer({{airspeed, 95.f}, {rpm, 2300.f}, {oil, 80.f}}));
    settle();
    link.poll(host, 0.5);
    EXPECT_EQ(vars.number(61), 95);
    EXPECT_EQ(vars.number(390), 2300);
    EXPECT_NEAR(vars.number(416), celsius_to_rankine(80), 1e-3);
    EXPECT_EQ(link.stats().frames, 1u);
    // Packets come in parts: the newest value of each dataref wins.
    for (int i = 1; i <= 200; ++i) xplane.send(panel_port, rref_answer({{airspeed, float(i)}}));
    settle();
    link.poll(host, 0.6);
    EXPECT_EQ(vars.number(61), 200);
    EXPECT_EQ(vars.number(390), 2300);

    // Bad packets: cut short, NaN, an index never subscribed, not an answer.
    std::vector<uint8_t> cut = rref_answer({{airspeed, 1.f}});
    cut.pop_back();
    const std::vector<uint8_t> bad[] = {cut, rref_answer({{airspeed, NAN}}), rref_answer({{100000, 1.f}}),
                                        dref_packet(1.f, "x")};
    for (const auto& b : bad) xplane.send(panel_port, b);
    settle();
    link.poll(host, 0.7);
    EXPECT_EQ(link.stats().skipped, 4u);
    EXPECT_EQ(vars.number(61), 200);

    // Key events: a switch as a DREF, the starter as a command.
    host.send_key_event(66241, 0);
    host.send_key_event(66300, 0);
    link.poll(host, 0.8);
    const auto sent = xplane.receive();
    ASSERT_EQ(sent.size(), 2u);
    float value = 0;
    std::string name;
    ASSERT_TRUE(parse_dref(sent[0].data(), sent[0].size(), value, name));
    EXPECT_EQ(name, "sim/cockpit2/electrical/battery_on[0]");
    EXPECT_EQ(value, 1.f);
    ASSERT_TRUE(parse_cmnd(sent[1].data(), sent[1].size(), name));
    EXPECT_EQ(name, "sim/starters/engage_starter_1");
    EXPECT_EQ(link.stats().sent, 2u);

    // Silence: lost after a second, values hold, and the subscriptions go out again.
    link.poll(host, 1.7);
    EXPECT_TRUE(link.lost(1.7));
    EXPECT_EQ(vars.number(61), 200);
    EXPECT_EQ(xplane.receive().size(), binding.names().size());
}

TEST(LinkAddress, BadAddressesAreRefused) {
    EXPECT_EQ(parse_link_address("flightgear").port, kFlightGearPort);
    EXPECT_EQ(parse_link_address("flightgear:6000").port, 6000);
    const LinkAddress x = parse_link_address("xplane:10.0.0.2");
    EXPECT_EQ(x.host, "10.0.0.2");
    EXPECT_EQ(x.port, kXPlanePort);
    for (const char* bad : {"", "fg", "flightgear:", "flightgear:0", "flightgear:70000", "flightgear:1:2", "xplane::",
                            "xplane:h:p", "xplane:h:1:2"})
        EXPECT_NE(error_of([&] { parse_link_address(bad); }).find("--link wants"), std::string::npos) << bad;
}

/* ---- the linked headless flight ----------------------------------------------------- */

// Pixels that differ between two pictures below the top band.
long differing_below_band(const Image& a, const Image& b) {
    long n = 0;
    const int top = banner_height(a.width(), a.height()) + 1;
    for (int y = top; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

TEST(Fly, LinkedFlightDrawsWhatTheSenderSendsAndLinkLostWithoutIt) {
    const fs::path dir = fs::temp_directory_path() / ("tarn-link-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "panel.cfg") << "[Window00]\nsize_mm=300,300\n"
                                        "gauge00=TARN2_Instruments!Tachometer, 50, 100, 150, , 1\n";
    const Protocol p = shipped_protocol();
    Udp sender, events;
    int port;
    {
        Udp probe;  // a free port for the flight to listen on
        port = probe.port();
    }
    FlyCommand c;
    c.config = (dir / "panel.cfg").string();
    c.link = "flightgear";
    c.link_port = port;
    c.link_send_port = events.port();
    c.every_s = 0.6;
    c.duration_s = 1.2;
    std::atomic<bool> done{false};
    std::thread feed([&] {
        const std::string line = fg_line(p, {{"/sim/time/elapsed-sec", 10}, {"/engines/engine[0]/rpm", 2400}});
        while (!done) {
            sender.send(port, line);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    c.output_dir = (dir / "fed").string();
    std::ostringstream out, err;
    const int status = fly_command(TARN_GAUGES_DIR, c, out, err);
    done = true;
    feed.join();
    ASSERT_EQ(status, 0) << err.str();
    std::ifstream in(dir / "fed" / "summary.txt");
    const std::string summary((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(summary.find("390  engine 1 speed, rpm: 2400.00"), std::string::npos) << summary;
    EXPECT_NE(summary.find("Link: FlightGear :" + std::to_string(port)), std::string::npos) << summary;
    EXPECT_EQ(summary.find("LINK LOST"), std::string::npos) << summary;
    EXPECT_NE(out.str().find("; link: "), std::string::npos) << out.str();

    c.output_dir = (dir / "silent").string();
    out.str("");
    ASSERT_EQ(fly_command(TARN_GAUGES_DIR, c, out, err), 0) << err.str();
    std::string why;
    const Image fed = read_png((dir / "fed" / "snapshot-0001.png").string(), &why);
    const Image start = read_png((dir / "silent" / "snapshot-0000.png").string(), &why);
    const Image silent = read_png((dir / "silent" / "snapshot-0001.png").string(), &why);
    ASSERT_FALSE(fed.empty() || start.empty() || silent.empty()) << why;
    // The tachometer's needle stands at 2400 rpm in the fed flight, at rest in the silent one.
    EXPECT_GT(differing_below_band(fed, silent), 200);
    EXPECT_EQ(differing_below_band(start, silent), 0);
    // The silent flight's snapshot at 1.2 s carries the red band; the one at 0.6 s does not.
    const uint32_t band = silent.pixel(2, 2), clear = start.pixel(2, 2);
    EXPECT_GT((band >> 16) & 0xFF, 150u);
    EXPECT_LT((band >> 8) & 0xFF, 60u);
    EXPECT_NE(band, clear);
    EXPECT_EQ(fed.pixel(2, 2), clear);
    fs::remove_all(dir);
}

}  // namespace
