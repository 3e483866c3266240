// Files the host reads and writes: only regular files are read (a FIFO, device or folder
// is refused at once, without waiting on it); outputs replace only regular files, through
// a fresh temporary name, and a failed write leaves the old file as it was.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <set>
#include <sstream>

#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/panel_config.h"
#include "host/core/profile.h"
#include "host/core/scenario.h"
#include "host/draw/bitmap.h"

namespace {

namespace fs = std::filesystem;

fs::path fresh_folder(const char* name) {
    const fs::path dir = fs::path(testing::TempDir()) / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string text_of(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_text(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

std::set<std::string> names_in(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

// The message of whatever `load` throws, or "" when it returns. A load that waits on the
// FIFO is released after 5 s by opening the FIFO's other end, and fails the test.
std::string refusal(const fs::path& fifo, const std::function<void()>& load) {
    auto done = std::async(std::launch::async, [&]() -> std::string {
        try {
            load();
        } catch (const std::exception& e) {
            return e.what();
        }
        return "";
    });
    if (done.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "reading " << fifo << " waits on the FIFO";
        const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
    }
    return done.get();
}

// A device node: one of the test's own (the numbers of /dev/null) where it may make one,
// else /dev/null itself, which a user who cannot make nodes cannot replace either.
fs::path device_node(const fs::path& dir) {
    const fs::path p = dir / "device";
    return ::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 ? p : fs::path("/dev/null");
}

// A FIFO, a device or a folder named as a panel file, script, profile or picture is
// refused at once with the file's name and what it is; reading one never blocks.
TEST(Files, InputsMustBeRegularFiles) {
    const fs::path dir = fresh_folder("files_inputs");
    const fs::path fifo = dir / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string f = fifo.string(), d = dir.string();

    EXPECT_EQ(refusal(fifo, [&] { tarn::load_panel_config(f); }), f + ":0: a FIFO (named pipe), not a panel file");
    EXPECT_EQ(refusal(fifo, [&] { tarn::load_panel_config("/dev/zero"); }), "/dev/zero:0: a device, not a panel file");
    std::ostringstream out;
    tarn::ScenarioRunner runner(TARN_TEST_GAUGES_DIR, out);
    EXPECT_EQ(refusal(fifo, [&] { runner.run_file(f); }), f + ":0: a FIFO (named pipe), not a script");
    EXPECT_EQ(refusal(fifo, [&] { runner.run_file("/dev/null"); }), "/dev/null:0: a device, not a script");
    EXPECT_EQ(refusal(fifo, [&] { tarn::load_profile(f); }), f + ": a FIFO (named pipe), not a profile");
    EXPECT_EQ(refusal(fifo, [&] { tarn::load_profile(d); }), d + ": a folder, not a profile");
    std::string why;
    EXPECT_EQ(refusal(fifo, [&] { tarn::load_picture_file(f, {}, &why); }), "");
    EXPECT_EQ(why, f + ": a FIFO (named pipe), not a picture file");
    EXPECT_TRUE(tarn::read_png("/dev/zero", &why).empty());
    EXPECT_EQ(why, "/dev/zero: a device, not a picture file");
    std::string bytes;
    EXPECT_FALSE(tarn::read_input_file((dir / "missing").string(), "sound file", 100, bytes, &why));
    EXPECT_EQ(why, "cannot open the sound file: No such file or directory");
}

// Reading costs what the file holds, not the limit: a 1000-byte file under a 256 MiB
// limit takes about 1000 bytes; a file over the limit is read to one byte past it.
TEST(Files, ReadingCostsWhatTheFileHolds) {
    const fs::path dir = fresh_folder("files_read");
    const std::string content(1000, 'x');
    write_text(dir / "small", content);
    std::string bytes, why;
    ASSERT_TRUE(tarn::read_input_file((dir / "small").string(), "picture file", size_t(256) << 20, bytes, &why)) << why;
    EXPECT_EQ(bytes, content);
    EXPECT_LT(bytes.capacity(), 4096u);
    ASSERT_TRUE(tarn::read_input_file((dir / "small").string(), "script", 10, bytes, &why));
    EXPECT_EQ(bytes, std::string(11, 'x'));
    write_text(dir / "empty", "");
    ASSERT_TRUE(tarn::read_input_file((dir / "empty").string(), "script", 10, bytes, &why));
    EXPECT_EQ(bytes, "");
}

// -o never replaces a device, FIFO, symbolic link or folder: each is refused by name
// (without opening it), left as it was, and no temporary file is left behind.
TEST(Files, OutputsReplaceOnlyRegularFiles) {
    const fs::path dir = fresh_folder("files_outputs");
    write_text(dir / "target", "keep");
    fs::create_symlink(dir / "target", dir / "link.png");
    fs::create_directory(dir / "folder.png");
    ASSERT_EQ(::mkfifo((dir / "pipe.png").c_str(), 0600), 0);
    const fs::path device = device_node(dir);
    const std::set<std::string> before = names_in(dir);
    tarn::Image picture(2, 2, false);
    std::string why;
    for (const auto& [name, kind] : {std::pair<fs::path, std::string>{dir / "link.png", "a symbolic link"},
                                     {dir / "folder.png", "a folder"},
                                     {dir / "pipe.png", "a FIFO (named pipe)"},
                                     {device, "a device"}}) {
        const std::string expected = "cannot write " + name.string() + ": " + kind + ", not a regular file";
        why.clear();
        EXPECT_FALSE(tarn::write_png(picture, name.string(), tarn::kPngFast, &why));
        EXPECT_EQ(why.substr(0, expected.size()), expected);
        why.clear();
        EXPECT_FALSE(tarn::write_file_atomically(name.string(), "summary", &why));
        EXPECT_EQ(why.substr(0, expected.size()), expected);
    }
    EXPECT_EQ(names_in(dir), before);
    EXPECT_TRUE(fs::is_symlink(dir / "link.png"));
    EXPECT_EQ(text_of(dir / "target"), "keep");
    EXPECT_TRUE(fs::is_character_file(device));
    EXPECT_TRUE(fs::is_fifo(dir / "pipe.png"));
    fs::remove_all(dir);
}

// A file is written under a fresh name beside it and renamed over it: an unrelated
// NAME.tmp is never touched, the file keeps its permissions, and a write given up
// leaves the old file and no temporary one.
TEST(Files, WritesReplaceTheFileWhole) {
    const fs::path dir = fresh_folder("files_atomic");
    const fs::path target = dir / "summary.txt";
    write_text(dir / "summary.txt.tmp", "stale");
    write_text(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    std::string why;
    ASSERT_TRUE(tarn::write_file_atomically(target.string(), "new", &why)) << why;
    EXPECT_EQ(text_of(target), "new");
    EXPECT_EQ(text_of(dir / "summary.txt.tmp"), "stale");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(names_in(dir), (std::set<std::string>{"summary.txt", "summary.txt.tmp"}));
    {
        tarn::AtomicOutput out;
        ASSERT_TRUE(out.open(target.string(), &why)) << why;
        EXPECT_EQ(fs::path(out.temp_path()).parent_path(), dir);
        EXPECT_NE(out.temp_path(), (dir / "summary.txt.tmp").string());
        std::fputs("half", out.file());
    }
    EXPECT_EQ(text_of(target), "new");
    EXPECT_EQ(names_in(dir), (std::set<std::string>{"summary.txt", "summary.txt.tmp"}));
    // A new file gets the permissions a new file has (not mkstemp's private ones).
    ASSERT_TRUE(tarn::write_file_atomically((dir / "fresh.txt").string(), "x", &why)) << why;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(unsigned(fs::status(dir / "fresh.txt").permissions()), unsigned(0666 & ~mask));
}

}  // namespace
