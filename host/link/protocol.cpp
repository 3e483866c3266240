// The protocol file reader (expat) and the line parser and writer.
#include "host/link/protocol.h"

#include <expat.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tarn {

namespace {

constexpr size_t kMaxFile = 1 << 20;  // a protocol file is a few kilobytes
constexpr size_t kMaxChunks = 1000;

// Separator names the simulator knows, else the text itself.
std::string separator(const std::string& text) {
    static const std::pair<const char*, const char*> kNames[] = {
        {"newline", "\n"}, {"tab", "\t"},       {"space", " "},      {"formfeed", "\f"}, {"carriagereturn", "\r"},
        {"verticaltab", "\v"}, {"semicolon", ";"}, {"colon", ":"}, {"comma", ","},
    };
    for (const auto& [name, sep] : kNames)
        if (text == name) return sep;
    return text;
}

std::string trimmed(std::string_view s) {
    const char* blanks = " \t\r\n";
    const size_t a = s.find_first_not_of(blanks);
    if (a == std::string_view::npos) return "";
    return std::string(s.substr(a, s.find_last_not_of(blanks) - a + 1));
}

struct Reader {
    XML_Parser parser;
    std::string name;
    Protocol protocol;
    std::vector<std::string> path;  // open elements
    std::string text;
    Direction* direction = nullptr;
    Chunk chunk;
    std::string error;

    int line() const { return int(XML_GetCurrentLineNumber(parser)); }
    void fail(const std::string& why, int at = 0) {
        if (error.empty()) error = name + ":" + std::to_string(at ? at : line()) + ": " + why;
        XML_StopParser(parser, XML_FALSE);
    }
    bool number(const std::string& t, double& v) {
        char* end = nullptr;
        errno = 0;
        v = std::strtod(t.c_str(), &end);
        return !t.empty() && *end == '\0' && errno == 0 && std::isfinite(v);
    }

    void start(const std::string& el) {
        if (!error.empty()) return;  // stopped
        path.push_back(el);
        text.clear();
        const size_t depth = path.size();
        if (depth == 1 && el != "PropertyList") return fail("the file starts with <" + el + ">, not <PropertyList>");
        if (depth == 3 && path[1] == "generic" && (el == "output" || el == "input")) {
            direction = el == "output" ? &protocol.output : &protocol.input;
            if (direction->present) return fail("a second <" + el + "> section");
            direction->present = true;
        }
        if (depth == 4 && direction && el == "chunk") {
            if (direction->chunks.size() >= kMaxChunks) return fail("more than 1000 chunks");
            chunk = Chunk{};
            chunk.line = line();
        }
    }

    void end() {
        if (!error.empty() || path.empty()) return;
        const size_t depth = path.size();
        const std::string& el = path.back();
        const std::string t = trimmed(text);
        if (depth == 4 && direction) {
            if (el == "line_separator") direction->line_separator = separator(text.empty() ? "" : t.empty() ? text : t);
            else if (el == "var_separator") direction->var_separator = separator(t.empty() ? text : t);
            else if (el == "binary_mode" && (t == "true" || t == "1")) return fail("binary mode is not read; use text lines");
            else if ((el == "preamble" || el == "postamble") && !t.empty()) return fail("<" + el + "> is not read; leave it out");
            else if (el == "chunk") {
                if (chunk.node.empty()) return fail("the chunk '" + chunk.name + "' has no <node>", chunk.line);
                if (direction == &protocol.input && (chunk.factor != 1 || chunk.offset != 0))
                    return fail("an input chunk takes no factor or offset", chunk.line);
                direction->chunks.push_back(chunk);
            }
        } else if (depth == 5 && direction && path[3] == "chunk") {
            double v = 0;
            if (el == "name") chunk.name = t;
            else if (el == "node") chunk.node = t;
            else if (el == "format") chunk.format = t;
            else if (el == "type") {
                if (t != "int" && t != "bool" && t != "float" && t != "double")
                    return fail("chunk type '" + t + "': only int, bool, float and double are read");
                chunk.type = t;
            } else if (el == "factor" || el == "offset") {
                if (!number(t, v)) return fail("<" + el + "> '" + t + "' is not a number");
                if (el == "factor" && v == 0) return fail("<factor> 0");
                (el == "factor" ? chunk.factor : chunk.offset) = v;
            }
        } else if (depth == 3 && (el == "output" || el == "input")) {
            direction = nullptr;
        }
        path.pop_back();
        text.clear();
    }
};

void XMLCALL on_start(void* data, const XML_Char* el, const XML_Char**) { static_cast<Reader*>(data)->start(el); }
void XMLCALL on_end(void* data, const XML_Char*) { static_cast<Reader*>(data)->end(); }
void XMLCALL on_text(void* data, const XML_Char* s, int len) {
    Reader* r = static_cast<Reader*>(data);
    if (r->text.size() < 4096) r->text.append(s, size_t(len));
}

}  // namespace

int Direction::find(std::string_view node) const {
    for (size_t i = 0; i < chunks.size(); ++i)
        if (chunks[i].node == node) return int(i);
    return -1;
}

Protocol parse_protocol(std::string_view text, const std::string& name) {
    if (text.size() > kMaxFile) throw LinkError(name + ":1: larger than 1 MiB: not a protocol file");
    Reader r;
    r.name = name;
    r.protocol.file = name;
    r.parser = XML_ParserCreate(nullptr);
    if (!r.parser) throw LinkError(name + ": out of memory");
    XML_SetUserData(r.parser, &r);
    XML_SetElementHandler(r.parser, on_start, on_end);
    XML_SetCharacterDataHandler(r.parser, on_text);
    const XML_Status status = XML_Parse(r.parser, text.data(), int(text.size()), XML_TRUE);
    if (status == XML_STATUS_ERROR && r.error.empty())
        r.error = name + ":" + std::to_string(XML_GetCurrentLineNumber(r.parser)) + ": " +
                  XML_ErrorString(XML_GetErrorCode(r.parser));
    XML_ParserFree(r.parser);
    if (!r.error.empty()) throw LinkError(r.error);
    for (Direction* d : {&r.protocol.output, &r.protocol.input}) {
        if (!d->present) continue;
        const char* which = d == &r.protocol.output ? "output" : "input";
        if (d->chunks.empty()) throw LinkError(name + ":1: the <" + which + "> section has no chunk");
        if (d->var_separator.empty() || d->line_separator.empty() ||
            d->line_separator.find(d->var_separator) != std::string::npos)
            throw LinkError(name + ":1: the <" + which + "> section's separators are empty or the same");
    }
    if (!r.protocol.output.present) throw LinkError(name + ":1: no <generic><output> section");
    return r.protocol;
}

Protocol read_protocol(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw LinkError(path + ": cannot be read");
    std::ostringstream s;
    s << in.rdbuf();
    return parse_protocol(s.str(), path);
}

const char* line_status_text(LineStatus s) {
    switch (s) {
    case LineStatus::ok: return "ok";
    case LineStatus::wrong_count: return "wrong number of fields";
    case LineStatus::not_number: return "a field is not a number";
    case LineStatus::not_finite: return "a field is NaN or infinite";
    }
    return "?";
}

LineStatus parse_line(std::string_view line, const Direction& d, std::vector<double>& values) {
    values.clear();
    const std::string_view sep = d.var_separator;
    size_t pos = 0;
    char buf[64];
    while (true) {
        const size_t next = line.find(sep, pos);
        std::string_view field = line.substr(pos, next == std::string_view::npos ? std::string_view::npos : next - pos);
        if (values.size() >= d.chunks.size()) return LineStatus::wrong_count;
        while (!field.empty() && (field.front() == ' ' || field.front() == '\t')) field.remove_prefix(1);
        while (!field.empty() && (field.back() == ' ' || field.back() == '\t' || field.back() == '\r')) field.remove_suffix(1);
        if (field.empty() || field.size() >= sizeof buf) return LineStatus::not_number;
        field.copy(buf, field.size());
        buf[field.size()] = '\0';
        char* end = nullptr;
        const double v = std::strtod(buf, &end);
        if (*end != '\0') return LineStatus::not_number;
        if (!std::isfinite(v)) return LineStatus::not_finite;
        const Chunk& c = d.chunks[values.size()];
        const double value = (v - c.offset) / c.factor;
        if (!std::isfinite(value)) return LineStatus::not_finite;
        values.push_back(value);
        if (next == std::string_view::npos) break;
        pos = next + sep.size();
    }
    return values.size() == d.chunks.size() ? LineStatus::ok : LineStatus::wrong_count;
}

std::string format_line(const std::vector<double>& values, const Direction& d) {
    std::string line;
    char buf[64];
    for (size_t i = 0; i < d.chunks.size(); ++i) {
        const double v = i < values.size() && std::isfinite(values[i]) ? values[i] : 0.0;
        const std::string& type = d.chunks[i].type;
        if (type == "int" || type == "bool")
            std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(std::llround(std::fmax(-9e18, std::fmin(9e18, v)))));
        else
            std::snprintf(buf, sizeof buf, "%.9g", v);
        if (i) line += d.var_separator;
        line += buf;
    }
    return line + d.line_separator;
}

}  // namespace tarn
