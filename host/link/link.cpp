// The link's sockets (POSIX, UDP): parse the address, open, poll.
#include "host/link/link.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "host/core/host.h"
#include "host/core/key_events.h"
#include "host/link/binding.h"
#include "host/link/xplane.h"

#ifndef TARN_SOURCE_LINK_DIR
#define TARN_SOURCE_LINK_DIR "link"
#endif

namespace tarn {

namespace {

constexpr double kLostAfterS = 1.0;
constexpr double kResubscribeS = 1.0;
constexpr int kSubscribeHz = 20;
constexpr size_t kMaxReadsPerPoll = 100000;

bool port_number(const std::string& t, int& port) {
    if (t.empty() || t.size() > 5 || t.find_first_not_of("0123456789") != std::string::npos) return false;
    port = std::stoi(t);
    return port <= 65535;
}

sockaddr_in resolve(const std::string& host, int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(port));
    if (inet_pton(AF_INET, host.c_str(), &a.sin_addr) == 1) return a;
    addrinfo hints{}, *found = nullptr;
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
        throw LinkError("--link: cannot find the address of '" + host + "'");
    a.sin_addr = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return a;
}

}  // namespace

LinkAddress parse_link_address(const std::string& text) {
    LinkAddress a;
    std::vector<std::string> parts;
    size_t from = 0;
    while (true) {
        const size_t colon = text.find(':', from);
        parts.push_back(text.substr(from, colon == std::string::npos ? std::string::npos : colon - from));
        if (colon == std::string::npos) break;
        from = colon + 1;
    }
    const std::string usage = "--link wants flightgear[:PORT] or xplane[:HOST[:PORT]], got '" + text + "'";
    if (parts[0] == "flightgear" && parts.size() <= 2) {
        a.simulator = Simulator::flightgear;
        a.port = kFlightGearPort;
        if (parts.size() == 2 && (!port_number(parts[1], a.port) || a.port == 0 || a.port == 65535)) throw LinkError(usage);
    } else if (parts[0] == "xplane" && parts.size() <= 3) {
        a.simulator = Simulator::xplane;
        a.port = kXPlanePort;
        if (parts.size() >= 2) {
            if (parts[1].empty()) throw LinkError(usage);
            a.host = parts[1];
        }
        if (parts.size() == 3 && (!port_number(parts[2], a.port) || a.port == 0)) throw LinkError(usage);
    } else {
        throw LinkError(usage);
    }
    return a;
}

std::string find_link_dir() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::string dir = ec ? std::string(".") : exe.parent_path().string();
    const std::string candidates[] = {"link", dir + "/link", dir + "/../link", TARN_SOURCE_LINK_DIR};
    for (const std::string& c : candidates) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(c + "/mapping.tsv", ec)) return c;
    }
    throw LinkError("--link: no link/mapping.tsv in the working folder or beside the program");
}

/* ---- the link ----------------------------------------------------------------------- */

struct SimLink::Impl {
    LinkAddress address;
    int fd = -1;
    int port = 0;
    sockaddr_in peer{};  // where events go
    std::unique_ptr<FlightGearBinding> fg;
    std::unique_ptr<XPlaneBinding> xp;
    std::vector<double> values;  // the newest frame (X-Plane: per dataref)
    std::vector<bool> known;     // X-Plane: datarefs answered
    bool have = false;
    double start = -1, last_data = -1, last_poll = -1, last_subscribe = -1e9;
    size_t events_seen = 0;
    std::vector<uint8_t> buffer = std::vector<uint8_t>(65536);
    std::vector<double> scratch;
    std::vector<std::pair<int32_t, float>> pairs;

    void send(const void* data, size_t size) {
        sendto(fd, data, size, 0, reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    }
    void subscribe(int hz) {
        for (size_t i = 0; i < xp->names().size(); ++i) {
            const std::vector<uint8_t> p = rref_request(hz, int32_t(i), xp->names()[i]);
            send(p.data(), p.size());
        }
    }
};

SimLink::SimLink(const LinkAddress& address, const std::string& link_dir) : impl_(std::make_unique<Impl>()) {
    Impl& m = *impl_;
    m.address = address;
    const Mapping mapping = read_mapping(link_dir + "/mapping.tsv");
    if (address.simulator == Simulator::flightgear) {
        m.fg = std::make_unique<FlightGearBinding>(read_protocol(link_dir + "/flightgear/tarn-panel.xml"), mapping);
        m.peer = resolve(address.host, address.send_port >= 0 ? address.send_port : address.port + 1);
    } else {
        m.xp = std::make_unique<XPlaneBinding>(mapping);
        m.peer = resolve(address.host, address.port);
        m.values.assign(m.xp->names().size(), 0.0);
        m.known.assign(m.xp->names().size(), false);
    }
    m.fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m.fd < 0) throw LinkError(std::string("--link: no UDP socket: ") + std::strerror(errno));
    const int big = 1 << 20;
    setsockopt(m.fd, SOL_SOCKET, SO_RCVBUF, &big, sizeof big);
    sockaddr_in local = resolve(address.listen_host, address.simulator == Simulator::flightgear ? address.port : 0);
    if (bind(m.fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        const std::string why = std::strerror(errno);
        close(m.fd);
        throw LinkError("--link: cannot listen on " + address.listen_host + ":" + std::to_string(ntohs(local.sin_port)) +
                        ": " + why);
    }
    socklen_t len = sizeof local;
    getsockname(m.fd, reinterpret_cast<sockaddr*>(&local), &len);
    m.port = ntohs(local.sin_port);
}

SimLink::~SimLink() {
    if (impl_->xp) impl_->subscribe(0);  // X-Plane stops sending
    close(impl_->fd);
}

int SimLink::local_port() const { return impl_->port; }

void SimLink::poll(PanelHost& host, double now_s) {
    Impl& m = *impl_;
    if (m.start < 0) m.start = now_s;
    if (m.last_poll >= 0 && lost(m.last_poll)) stats_.lost_s += now_s - m.last_poll;
    m.last_poll = now_s;
    VariableStore& vars = host.vars();

    // Key events, with the store as the host's key-event processing left it.
    const auto& log = host.key_events();
    if (log.size() < m.events_seen) m.events_seen = 0;
    bool fg_line = false;
    for (; m.events_seen < log.size(); ++m.events_seen) {
        const KeyEventRule* rule = find_key_event(log[m.events_seen].id);
        // Until the simulator's first frame the store holds the model's state, which must
        // not overwrite the simulator's controls: only commands go out then.
        if (m.fg) {
            if (rule && m.have && m.fg->sends(*rule)) {
                fg_line = true;
                ++stats_.sent;
            }
            continue;
        }
        if (const std::string c = m.xp->command(log[m.events_seen].id); !c.empty()) {
            const std::vector<uint8_t> p = cmnd_packet(c);
            m.send(p.data(), p.size());
            ++stats_.sent;
        } else if (rule && m.have) {
            const auto datarefs = m.xp->event_datarefs(*rule, vars);
            for (const auto& [name, value] : datarefs) {
                const std::vector<uint8_t> p = dref_packet(float(value), name);
                m.send(p.data(), p.size());
            }
            if (!datarefs.empty()) ++stats_.sent;
        }
    }
    if (fg_line) {
        const std::string line = m.fg->input_line(vars);
        m.send(line.data(), line.size());
    }

    // Everything waiting; the newest good frame wins.
    for (size_t reads = 0; reads < kMaxReadsPerPoll; ++reads) {
        sockaddr_in from{};
        socklen_t from_len = sizeof from;
        const ssize_t n = recvfrom(m.fd, m.buffer.data(), m.buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &from_len);
        if (n < 0) break;
        if (m.fg) {
            const std::string_view data(reinterpret_cast<const char*>(m.buffer.data()), size_t(n));
            const std::string& sep = m.fg->protocol().output.line_separator;
            bool good = false;
            for (size_t at = 0; at < data.size();) {
                size_t end = data.find(sep, at);
                if (end == std::string_view::npos) end = data.size();
                const std::string_view line = data.substr(at, end - at);
                at = end + sep.size();
                if (line.empty() || line == "\r") continue;
                const LineStatus s = parse_line(line, m.fg->protocol().output, m.scratch);
                if (s != LineStatus::ok) {
                    ++stats_.skipped;
                    problem_ = line_status_text(s);
                    continue;
                }
                good = true;
                m.last_data = now_s;
                if (m.fg->elapsed_chunk() >= 0 && m.scratch[size_t(m.fg->elapsed_chunk())] == 0.0) {
                    ++stats_.waiting;
                    continue;
                }
                ++stats_.frames;
                m.values.swap(m.scratch);
                m.have = true;
            }
            // Events go back where the lines come from.
            if (good) m.peer.sin_addr = from.sin_addr;
        } else {
            const PacketStatus s = parse_rref(m.buffer.data(), size_t(n), m.pairs);
            bool fits = s == PacketStatus::ok;
            for (const auto& [index, value] : m.pairs) fits = fits && index >= 0 && size_t(index) < m.values.size();
            if (!fits) {
                ++stats_.skipped;
                problem_ = s == PacketStatus::ok ? "an index that was not subscribed" : packet_status_text(s);
                continue;
            }
            for (const auto& [index, value] : m.pairs) {
                m.values[size_t(index)] = value;
                m.known[size_t(index)] = true;
            }
            ++stats_.frames;
            m.have = true;
            m.last_data = now_s;
        }
    }
    if (m.xp && (m.last_data < 0 || lost(now_s)) && now_s - m.last_subscribe >= kResubscribeS) {
        m.subscribe(kSubscribeHz);
        m.last_subscribe = now_s;
    }
    if (m.have) {
        if (m.fg) m.fg->in().apply(m.values, vars);
        else m.xp->in().apply(m.values, vars, m.known);
    }
}

bool SimLink::lost(double now_s) const {
    const double since = impl_->last_data >= 0 ? impl_->last_data : impl_->start;
    return impl_->start >= 0 && now_s - since >= kLostAfterS;
}

std::string SimLink::status(double now_s) const {
    std::string s = impl_->fg ? "FlightGear :" + std::to_string(impl_->port) + ", "
                              : "X-Plane " + impl_->address.host + ":" + std::to_string(impl_->address.port) + ", ";
    s += std::to_string(stats_.frames) + " frames, " + std::to_string(stats_.skipped) + " skipped, " +
         std::to_string(stats_.sent) + " events sent";
    if (lost(now_s)) s += ", LINK LOST";
    return s;
}

}  // namespace tarn
