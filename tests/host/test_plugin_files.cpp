// Plug-in files that are no whole shared object: truncated copies of a test
// plug-in (whose segments would fault the loader with SIGBUS on first
// touch), empty files, FIFOs and directories. Each is refused with the
// reason before the loader maps it, and the host goes on as it was.

#include <gmock/gmock.h>

#include <elf.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/src/plugin/Plugins.h"
#include "host/src/session/Session.h"
#include "tests/host/HostFixture.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

const fs::path kPlugin = fs::path(TESSARK_TEST_PLUGIN_DIR) / "hostTestPlugin.so";

std::string detail(const MStatus& st) {
    std::string text = st.errorString().str();
    auto close = text.find("): ");
    return close == std::string::npos ? text : text.substr(close + 3);
}

class PluginFileTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        dir_ = fs::temp_directory_path() /
               ("tessark-plugin-files-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        std::ifstream in(kPlugin, std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        image_ = all.str();
        ASSERT_GT(image_.size(), sizeof(Elf64_Ehdr));
    }
    void TearDown() override {
        ::alarm(0);
        for (const auto& p : ehost::loadedPlugins()) ehost::unloadPlugin(p.name);
        fs::remove_all(dir_);
        HostTest::TearDown();
    }

    //! A copy of the test plug-in cut after size bytes.
    fs::path truncated(const std::string& name, std::size_t size) const {
        fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary).write(image_.data(), static_cast<std::streamsize>(size));
        return p;
    }
    Elf64_Ehdr header() const {
        Elf64_Ehdr h;
        std::memcpy(&h, image_.data(), sizeof h);
        return h;
    }
    //! Where the plug-in's program header table ends.
    std::size_t programHeadersEnd() const {
        const Elf64_Ehdr h = header();
        return h.e_phoff + std::size_t{h.e_phnum} * h.e_phentsize;
    }
    //! Where its last loadable segment ends (debugging sections may follow).
    std::size_t segmentsEnd() const {
        const Elf64_Ehdr h = header();
        std::size_t end = 0;
        for (int i = 0; i < h.e_phnum; ++i) {
            Elf64_Phdr p;
            std::memcpy(&p, image_.data() + h.e_phoff + i * sizeof p, sizeof p);
            if (p.p_type == PT_LOAD) end = std::max<std::size_t>(end, p.p_offset + p.p_filesz);
        }
        return end;
    }
    //! Refused with the reason, nothing loaded, nothing registered.
    void expectRefused(const fs::path& file, const std::string& reason) {
        MStatus st = ehost::loadPlugin(file.string());
        EXPECT_FALSE(st);
        EXPECT_EQ(detail(st), "cannot open plug-in " + file.string() + ": " + reason);
        EXPECT_TRUE(ehost::loadedPlugins().empty());
        EXPECT_EQ(ehost::session().registry().findClass("hostTestScale"), nullptr);
    }

    fs::path dir_;
    std::string image_;
};

TEST_F(PluginFileTest, ATruncatedPluginIsRefusedBeforeItIsMapped) {
    const std::size_t size = image_.size();
    expectRefused(truncated("empty.so", 0), "it is too short to be a shared object (0 bytes)");
    expectRefused(truncated("header.so", 40), "it is too short to be a shared object (40 bytes)");
    const std::size_t table = programHeadersEnd();
    expectRefused(truncated("table.so", table - 1),
                  "it is truncated: its program headers end at byte " + std::to_string(table) +
                      " of " + std::to_string(table - 1));
    // The header and its table whole, a segment cut: once halfway through
    // the segments, once by a single byte.
    const std::size_t segments = segmentsEnd();
    ASSERT_GT(segments, table);
    for (std::size_t cut : {segments / 2, segments - 1}) {
        fs::path part = truncated("part" + std::to_string(cut) + ".so", cut);
        MStatus st = ehost::loadPlugin(part.string());
        EXPECT_FALSE(st);
        EXPECT_THAT(detail(st), HasSubstr("it is truncated: a segment ends at byte "));
        EXPECT_THAT(detail(st), HasSubstr(" of " + std::to_string(cut)));
        EXPECT_TRUE(ehost::loadedPlugins().empty());
    }

    // The whole copy loads: the check refuses only what is broken.
    fs::path whole = truncated("hostTestPlugin.so", size);
    ASSERT_TRUE(ehost::loadPlugin(whole.string())) << "a whole copy loads";
    EXPECT_NE(ehost::session().registry().findClass("hostTestScale"), nullptr);
}

TEST_F(PluginFileTest, WhatIsNoELFSharedObjectIsRefused) {
    std::string object = image_;
    object[EI_CLASS] = ELFCLASS32;
    std::ofstream(dir_ / "class.so", std::ios::binary) << object;
    expectRefused(dir_ / "class.so", "it is an ELF file for another kind of machine");
    object = image_;
    object[16] = ET_EXEC;  // e_type, little end first
    object[17] = 0;
    std::ofstream(dir_ / "exec.so", std::ios::binary) << object;
    expectRefused(dir_ / "exec.so", "it is an ELF file but not a shared object");
}

TEST_F(PluginFileTest, AFifoOrADirectoryIsRefusedWithoutWaiting) {
    ::alarm(30);  // a loader that waited on the FIFO would hang here
    fs::path fifo = dir_ / "pipe.so";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    expectRefused(fifo, "it is a FIFO (named pipe), not a regular file");
    fs::create_directory(dir_ / "folder.so");
    expectRefused(dir_ / "folder.so", "it is a directory");

    // Found by name on the plug-in path, too.
    ehost::setPluginPath({dir_.string()});
    MStatus st = ehost::loadPlugin("pipe");
    ehost::setPluginPath({});
    EXPECT_EQ(detail(st), "cannot open plug-in " + fifo.string() +
                              ": it is a FIFO (named pipe), not a regular file");
}

TEST_F(PluginFileTest, ALinkToAWholePluginLoads) {
    fs::path link = dir_ / "linked.so";
    fs::create_symlink(kPlugin, link);
    MStatus st = ehost::loadPlugin(link.string());
    ASSERT_TRUE(st) << detail(st);
    EXPECT_TRUE(ehost::isPluginLoaded("linked"));
}

}  // namespace
