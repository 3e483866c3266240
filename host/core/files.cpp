// Reading and writing files safely. Sections: kinds | reading | writing
#include "host/core/files.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tarn {

/* ---- kinds ------------------------------------------------------------------------ */

namespace {

#ifdef _WIN32
using Stat = struct _stat64;
int stat_path(const std::string& path, Stat& st) { return _stat64(path.c_str(), &st); }
// Windows has no links in the way: a missing file and a regular file are told apart alone.
int lstat_path(const std::string& path, Stat& st) { return stat_path(path, st); }
bool is_regular(const Stat& st) { return (st.st_mode & _S_IFMT) == _S_IFREG; }
const char* kind(const Stat& st) {
    if ((st.st_mode & _S_IFMT) == _S_IFDIR) return "a folder";
    if ((st.st_mode & _S_IFMT) == _S_IFCHR) return "a device";
    return "not a regular file";
}
#else
using Stat = struct stat;
int stat_path(const std::string& path, Stat& st) { return ::stat(path.c_str(), &st); }
int lstat_path(const std::string& path, Stat& st) { return ::lstat(path.c_str(), &st); }
bool is_regular(const Stat& st) { return S_ISREG(st.st_mode); }
const char* kind(const Stat& st) {
    if (S_ISDIR(st.st_mode)) return "a folder";
    if (S_ISFIFO(st.st_mode)) return "a FIFO (named pipe)";
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return "a device";
    if (S_ISSOCK(st.st_mode)) return "a socket";
    if (S_ISLNK(st.st_mode)) return "a symbolic link";
    return "not a regular file";
}
#endif

void set(std::string* error, const std::string& text) {
    if (error) *error = text;
}

}  // namespace

bool check_input_file(const std::string& path, const char* what, std::string* error) {
    Stat st{};
    if (stat_path(path, st) != 0) {
        set(error, std::string("cannot open the ") + what + ": " + std::strerror(errno));
        return false;
    }
    if (!is_regular(st)) {
        set(error, std::string(kind(st)) + ", not a " + what);
        return false;
    }
    return true;
}

bool check_output_path(const std::string& path, std::string* error) {
    Stat st{};
    // Not there (or not reachable: opening the temporary file then says why) is fine.
    if (lstat_path(path, st) != 0) return true;
    if (is_regular(st)) return true;
    set(error, "cannot write " + path + ": " + kind(st) + ", not a regular file (only regular files are written)");
    return false;
}

/* ---- reading ---------------------------------------------------------------------- */

bool read_input_file(const std::string& path, const char* what, size_t max_bytes, std::string& bytes,
                     std::string* error) {
    bytes.clear();
    // Checked before opening: opening a FIFO for reading waits for a writer, and opening
    // some devices has effects of its own.
    if (!check_input_file(path, what, error)) return false;
    const size_t limit = max_bytes + 1;
#ifdef _WIN32
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        set(error, std::string("cannot open the ") + what + ": " + std::strerror(errno));
        return false;
    }
    Stat st{};
    const size_t expected = stat_path(path, st) == 0 && st.st_size > 0 ? size_t(st.st_size) : 0;
    bytes.reserve(std::min(expected + 1, limit));
    char chunk[1 << 16];
    while (bytes.size() < limit) {
        const size_t got = std::fread(chunk, 1, std::min(sizeof chunk, limit - bytes.size()), f);
        bytes.append(chunk, got);
        if (got == 0) break;
    }
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
#else
    // O_NONBLOCK: should the name have become a FIFO since the check, opening it does not wait.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        set(error, std::string("cannot open the ") + what + ": " + std::strerror(errno));
        return false;
    }
    Stat st{};
    if (::fstat(fd, &st) != 0 || !is_regular(st)) {
        ::close(fd);
        set(error, std::string(kind(st)) + ", not a " + what);
        return false;
    }
    // Room for what the file holds now, and then more as it turns out larger.
    size_t capacity = std::min(size_t(st.st_size > 0 ? st.st_size : 0) + 1, limit);
    bool failed = false;
    size_t used = 0;
    bytes.resize(capacity);
    while (used < limit) {
        if (used == capacity) {
            capacity = std::min(std::max(capacity * 2, size_t(1) << 16), limit);
            bytes.resize(capacity);
        }
        const ssize_t got = ::read(fd, &bytes[used], capacity - used);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) failed = true;
        if (got <= 0) break;
        used += size_t(got);
    }
    bytes.resize(used);
    ::close(fd);
#endif
    if (failed) {
        set(error, std::string("cannot read the ") + what + ": " + std::strerror(errno));
        bytes.clear();
        return false;
    }
    return true;
}

/* ---- writing ---------------------------------------------------------------------- */

AtomicOutput::~AtomicOutput() { discard(); }

void AtomicOutput::discard() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    if (!temp_.empty()) std::remove(temp_.c_str());
    temp_.clear();
}

bool AtomicOutput::open(const std::string& path, std::string* error) {
    discard();
    if (!check_output_path(path, error)) return false;
    path_ = path;
#ifdef _WIN32
    // A fresh name: created only if nothing has it yet.
    static unsigned counter = 0;
    int fd = -1;
    for (int attempt = 0; attempt < 1000 && fd < 0; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%06u", (unsigned(GetCurrentProcessId()) * 7919u + counter++) % 1000000u);
        const std::string name = path + suffix;
        fd = _open(name.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
        if (fd >= 0) temp_ = name;
        else if (errno != EEXIST) break;
    }
    if (fd < 0) {
        set(error, "cannot write " + path + ": " + std::strerror(errno));
        return false;
    }
    file_ = _fdopen(fd, "wb");
    if (file_ == nullptr) _close(fd);
#else
    std::string name = path + ".XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        set(error, "cannot write " + path + ": " + std::strerror(errno));
        return false;
    }
    temp_ = name;
    // mkstemp makes the file private; the target gets the permissions a new file would
    // (or those of the file it replaces).
    Stat st{};
    mode_t mode;
    if (stat_path(path, st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    (void)::fchmod(fd, mode);  // not fatal: the file is still written, only more private
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) ::close(fd);
#endif
    if (file_ == nullptr) {
        set(error, "cannot write " + path + ": " + std::strerror(errno));
        discard();
        return false;
    }
    return true;
}

bool AtomicOutput::commit(std::string* error) {
    if (file_ == nullptr) {
        set(error, "cannot write " + path_ + ": not open");
        return false;
    }
    const bool written = std::fflush(file_) == 0 && std::ferror(file_) == 0;
    const int saved = errno;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!written || !closed) {
        set(error, "cannot write " + path_ + ": " + std::strerror(written ? errno : saved));
        discard();
        return false;
    }
    // The target may have changed kind while the file was written.
    if (!check_output_path(path_, error)) {
        discard();
        return false;
    }
#ifdef _WIN32
    const bool renamed = MoveFileExA(temp_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    const char* why = "cannot replace it";
#else
    const bool renamed = std::rename(temp_.c_str(), path_.c_str()) == 0;
    const char* why = std::strerror(errno);
#endif
    if (!renamed) {
        set(error, "cannot write " + path_ + ": " + why);
        discard();
        return false;
    }
    temp_.clear();
    return true;
}

bool write_file_atomically(const std::string& path, const std::string& bytes, std::string* error) {
    AtomicOutput out;
    if (!out.open(path, error)) return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), out.file()) != bytes.size()) {
        set(error, "cannot write " + path + ": " + std::strerror(errno));
        return false;
    }
    return out.commit(error);
}

}  // namespace tarn
