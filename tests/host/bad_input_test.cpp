// Input from outside that is not what it claims to be: module files cut short or of
// another kind, scripts and panel files that are folders. Each is refused with a message
// naming the file; none crashes the host.
#include <elf.h>
#include <gtest/gtest.h>
#include <link.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/core/errors.h"
#include "host/core/host.h"
#include "host/core/panel_config.h"
#include "host/core/scenario.h"
#include "tests/host/test_scripts.h"

namespace {

namespace fs = std::filesystem;

// A fresh folder under the test's temporary directory.
fs::path folder(const std::string& name) {
    fs::path p = fs::path(testing::TempDir()) / ("tarn_bad_input_" + name);
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

std::vector<char> read_all(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

void write(const fs::path& p, const char* data, size_t size) {
    std::ofstream out(p, std::ios::binary);
    out.write(data, std::streamsize(size));
}

// The message of loading module NAME from DIR, or "" when it loads.
std::string load_error(const fs::path& dir, const std::string& name) {
    tarn::PanelHost host(dir.string());
    try {
        host.module(name);
    } catch (const tarn::HostError& e) {
        return e.what();
    }
    return "";
}

// A real module cut at many lengths: each is refused before it is mapped (a mapped file
// cut short kills the process when its missing pages are touched).
TEST(BadInput, ModuleCutShortAtAnyLengthIsRefused) {
    const std::vector<char> module = read_all(fs::path(TARN_TEST_GAUGES_DIR) / "TestGauges.gau");
    ASSERT_GT(module.size(), 8192u);
    // Where the last loaded segment ends: every cut before it leaves a segment short.
    const auto* h = reinterpret_cast<const ElfW(Ehdr)*>(module.data());
    size_t loaded_end = 0;
    for (unsigned i = 0; i < h->e_phnum; ++i) {
        const auto* ph = reinterpret_cast<const ElfW(Phdr)*>(module.data() + h->e_phoff + i * sizeof(ElfW(Phdr)));
        if (ph->p_type == PT_LOAD) loaded_end = std::max(loaded_end, size_t(ph->p_offset + ph->p_filesz));
    }
    ASSERT_GT(loaded_end, 4096u);
    const fs::path dir = folder("cut");
    for (size_t length : {size_t(0), size_t(4), size_t(63), size_t(64), size_t(200), size_t(1000), size_t(4096),
                          loaded_end / 2, loaded_end - 1}) {
        write(dir / "Cut.gau", module.data(), length);
        const std::string message = load_error(dir, "Cut");
        EXPECT_NE(message, "") << "length " << length;
        EXPECT_NE(message.find((dir / "Cut.gau").string()), std::string::npos) << message;
    }
    // The whole file still loads.
    write(dir / "Cut.gau", module.data(), module.size());
    EXPECT_EQ(load_error(dir, "Cut"), "");
}

// A segment that runs past the end of the file is named with the file's size.
TEST(BadInput, CutShortModuleMessageSaysSo) {
    const std::vector<char> module = read_all(fs::path(TARN_TEST_GAUGES_DIR) / "TestGauges.gau");
    const fs::path dir = folder("cut_message");
    write(dir / "Cut.gau", module.data(), 4096);
    const std::string message = load_error(dir, "Cut");
    EXPECT_NE(message.find("cannot load module Cut from " + (dir / "Cut.gau").string() +
                           ": the file is cut short (a segment ends at byte "),
              std::string::npos)
        << message;
    EXPECT_NE(message.find(" of 4096)"), std::string::npos) << message;
}

// An ELF file of another kind (an object file, not a shared library) is refused by kind.
TEST(BadInput, ElfFileThatIsNotASharedLibrary) {
    std::vector<char> module = read_all(fs::path(TARN_TEST_GAUGES_DIR) / "TestGauges.gau");
    module[16] = 1;  // e_type ET_REL
    module[17] = 0;
    const fs::path dir = folder("kind");
    write(dir / "Kind.gau", module.data(), module.size());
    EXPECT_NE(load_error(dir, "Kind").find("not a shared library of this machine's kind"), std::string::npos);
}

// Program headers said to lie past the end of the file.
TEST(BadInput, ProgramHeadersOutsideTheFile) {
    std::vector<char> module = read_all(fs::path(TARN_TEST_GAUGES_DIR) / "TestGauges.gau");
    for (int i = 32; i < 40; ++i) module[size_t(i)] = char(0x7F);  // e_phoff far away
    const fs::path dir = folder("phoff");
    write(dir / "Far.gau", module.data(), module.size());
    EXPECT_NE(load_error(dir, "Far").find("its program headers lie outside its"), std::string::npos);
}

// A folder named as a script or as a panel file.
TEST(BadInput, FolderAsScriptOrPanelFile) {
    const fs::path dir = folder("as_file");
    std::ostringstream out;
    tarn::ScenarioRunner runner(TARN_TEST_GAUGES_DIR, out);
    try {
        runner.run_file(dir.string());
        ADD_FAILURE() << "a folder ran as a script";
    } catch (const tarn::ScenarioError& e) {
        EXPECT_EQ(std::string(e.what()), dir.string() + ":0: a folder, not a script");
    }
    try {
        tarn::load_panel_config(dir.string());
        ADD_FAILURE() << "a folder read as a panel file";
    } catch (const tarn::PanelConfigError& e) {
        EXPECT_EQ(std::string(e.what()), dir.string() + ":0: a folder, not a panel file");
    }
}

// A script or panel file that does not exist says why it cannot be opened.
TEST(BadInput, MissingFilesSayWhy) {
    const std::string path = (folder("missing") / "nothing.scn").string();
    std::ostringstream out;
    tarn::ScenarioRunner runner(TARN_TEST_GAUGES_DIR, out);
    try {
        runner.run_file(path);
        ADD_FAILURE();
    } catch (const tarn::ScenarioError& e) {
        EXPECT_EQ(std::string(e.what()), path + ":0: cannot open the script: No such file or directory");
    }
}

// Scripts of blanks and comments only, and a DEL byte: refused with the line.
TEST(BadInput, ScriptsWithoutCommandsOrWithControlBytes) {
    std::ostringstream out;
    tarn::ScenarioRunner runner(TARN_TEST_GAUGES_DIR, out);
    auto message = [&](const std::string& text) { return tarn::test::script_error(runner, text); };
    EXPECT_EQ(message(""), "s.scn:1: the script is empty");
    EXPECT_EQ(message("\n\n"), "s.scn:2: the script has no commands (only blanks and comments)");
    EXPECT_EQ(message("echo a\x7F\n"), "s.scn:1: the script is not text (a control byte 0x7F)");
    EXPECT_EQ(message("echo a\tb\r\n"), "no error");  // tabs and CR LF line ends are text
    EXPECT_EQ(message("echo \xC4\xD6 caf\xE9\n"), "no error");  // Windows ANSI letters too
    EXPECT_EQ(message("gauge " + std::string(256, 'n') + " TestGauges!Probe\n"),
              "s.scn:1: an instance name of 256 characters ('" + std::string(40, 'n') + "...'): at most 255");
}

// Panel files: control bytes named by line, a form feed allowed, module names held short.
TEST(BadInput, PanelFilesThatAreNotText) {
    auto message = [](const std::string& text) {
        try {
            tarn::parse_panel_config(text, "p.cfg");
        } catch (const tarn::PanelConfigError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message("[Window00]\nsize_mm=10\n\x01"), "p.cfg:3: the file is not text (a control byte 0x01)");
    EXPECT_EQ(message("[Window00]\f\nsize_mm=10\n"), "no error");
    EXPECT_EQ(message(""), "p.cfg:1: the panel file is empty");
    EXPECT_EQ(message("; nothing\n\n"), "p.cfg:2: the panel file has no [WindowNN] or [VCockpitNN] section");
    // A name too long is a finding, the line left out.
    const tarn::PanelConfig cfg =
        tarn::parse_panel_config("[Window00]\nsize_mm=10\ngauge00=" + std::string(300, 'M') + "!G, 1, 2\n", "p.cfg");
    ASSERT_EQ(cfg.warnings.size(), 1u);
    EXPECT_EQ(cfg.warnings[0].text(), "p.cfg:3: a module name of 300 characters ('" + std::string(40, 'M') +
                                          "...'): at most 255: ignored");
    EXPECT_TRUE(cfg.windows[0].gauges.empty());
}

}  // namespace
