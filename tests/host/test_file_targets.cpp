// Files the host writes (scene saves, OBJ exports, snapshots, the
// preferences file) and reads (scene files, mesh imports) when what lies at
// the path is no plain file: a FIFO, a device node, a directory or a
// symbolic link. Nothing that is no regular file is read or replaced; a link
// is written through to the file it leads to, as editors do. Every special
// file is made here, inside the test's own temporary directory.

#include <gmock/gmock.h>

#include <maya/MGlobal.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "host/src/core/Preferences.h"
#include "host/src/dg/Scene.h"
#include "host/src/io/MeshFiles.h"
#include "host/src/io/SceneFile.h"
#include "host/src/session/Session.h"
#include "host/src/view/Snapshot.h"
#include "host/src/view/Views.h"
#include "tests/host/HostFixture.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

std::string readText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeText(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

//! One way the host writes a file; returns "" or the error it reported.
struct Writer {
    const char* what;
    const char* file;  // a name with the extension the writer needs
    std::function<std::string(const std::string&)> write;
};

std::string statusText(const MStatus& st) {
    return st ? "" : st.errorString().str();
}

std::vector<Writer> writers() {
    return {
        {"scene save", "scene.tsk",
         [](const std::string& p) {
             std::string error;
             return ehost::saveScene(p, &error) ? "" : error;
         }},
        {"OBJ export", "mesh.obj",
         [](const std::string& p) {
             std::string error;
             return ehost::exportMeshObj({ehost::theScene().find("c")}, p, &error) ? "" : error;
         }},
        {"snapshot", "view.png",
         [](const std::string& p) {
             return statusText(ehost::writeSnapshot(ehost::session().views().activePanel(), p));
         }},
    };
}

class FileTargetTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        dir_ = fs::temp_directory_path() /
               ("tessark-targets-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        ASSERT_TRUE(MGlobal::executeCommand("polyCube -n c; refresh"));
    }
    void TearDown() override {
        ::alarm(0);
        fs::remove_all(dir_);
        HostTest::TearDown();
    }

    fs::path path(const std::string& name) const { return dir_ / name; }
    fs::path fifo(const std::string& name) const {
        fs::path p = path(name);
        EXPECT_EQ(::mkfifo(p.c_str(), 0644), 0) << std::strerror(errno);
        return p;
    }
    //! A character device like the null device, when the test may make one.
    bool device(const fs::path& p) const {
        return ::mknod(p.c_str(), S_IFCHR | 0644, makedev(1, 3)) == 0;
    }
    static bool isFifo(const fs::path& p) { return fs::is_fifo(fs::symlink_status(p)); }
    //! Hidden temporaries a write left behind anywhere under the directory.
    std::vector<std::string> leftovers() const {
        std::vector<std::string> out;
        for (auto& e : fs::recursive_directory_iterator(dir_))
            if (e.path().filename().string().find(".tmp-") != std::string::npos)
                out.push_back(e.path().string());
        return out;
    }
    //! A read that blocked on a FIFO would hang the test: end it instead.
    static void failIfStuck() { ::alarm(30); }

    fs::path dir_;
};

// ---------------------------------------------------------------- writing

TEST_F(FileTargetTest, WritingOntoAFifoIsRefusedAndTheFifoStays) {
    for (const Writer& w : writers()) {
        SCOPED_TRACE(w.what);
        fs::path target = fifo(std::string("fifo-") + w.file);
        EXPECT_THAT(w.write(target.string()),
                    HasSubstr("it is a FIFO (named pipe), not a regular file"));
        EXPECT_TRUE(isFifo(target));
    }
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(FileTargetTest, WritingOntoADeviceOrADirectoryIsRefusedAndItStays) {
    for (const Writer& w : writers()) {
        SCOPED_TRACE(w.what);
        fs::path folder = path(std::string("folder-") + w.file);
        fs::create_directory(folder);
        EXPECT_FALSE(w.write(folder.string()).empty());
        EXPECT_TRUE(fs::is_directory(folder));
    }
    if (::geteuid() != 0) GTEST_SKIP() << "device nodes can be made only by root";
    for (const Writer& w : writers()) {
        SCOPED_TRACE(w.what);
        fs::path node = path(std::string("device-") + w.file);
        ASSERT_TRUE(device(node)) << std::strerror(errno);
        EXPECT_THAT(w.write(node.string()),
                    HasSubstr("it is a character device, not a regular file"));
        EXPECT_TRUE(fs::is_character_file(fs::symlink_status(node)));
    }
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(FileTargetTest, ASymbolicLinkIsWrittenThroughToItsTarget) {
    fs::create_directory(path("real"));
    for (const Writer& w : writers()) {
        SCOPED_TRACE(w.what);
        // A relative link, through a second link, to a file that exists.
        fs::path real = path("real") / w.file;
        writeText(real, "previous\n");
        fs::permissions(real,
                        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        fs::path middle = path(std::string("middle-") + w.file);
        fs::create_symlink(fs::path("real") / w.file, middle);
        fs::path link = path(std::string("link-") + w.file);
        fs::create_symlink(middle.filename(), link);

        EXPECT_EQ(w.write(link.string()), "");
        EXPECT_TRUE(fs::is_symlink(link)) << "the link is kept";
        EXPECT_TRUE(fs::is_symlink(middle));
        EXPECT_NE(readText(real), "previous\n");
        EXPECT_EQ(readText(real), readText(link));
        EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read)
            << "the target keeps its mode";

        // A link to a file yet to be made makes it.
        fs::path dangling = path(std::string("dangling-") + w.file);
        fs::create_symlink(fs::path("real") / (std::string("new-") + w.file), dangling);
        EXPECT_EQ(w.write(dangling.string()), "");
        EXPECT_TRUE(fs::is_symlink(dangling));
        EXPECT_TRUE(fs::is_regular_file(path("real") / (std::string("new-") + w.file)));
    }
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(FileTargetTest, ALinkToAFifoOrALinkLoopIsRefused) {
    for (const Writer& w : writers()) {
        SCOPED_TRACE(w.what);
        fs::path pipe = fifo(std::string("pipe-") + w.file);
        fs::path link = path(std::string("link-") + w.file);
        fs::create_symlink(pipe.filename(), link);
        EXPECT_THAT(w.write(link.string()),
                    HasSubstr("it leads to " + pipe.string() +
                              ", which is a FIFO (named pipe), not a regular file"));
        EXPECT_TRUE(isFifo(pipe));

        fs::path a = path(std::string("a-") + w.file), b = path(std::string("b-") + w.file);
        fs::create_symlink(b.filename(), a);
        fs::create_symlink(a.filename(), b);
        EXPECT_THAT(w.write(a.string()), HasSubstr("its symbolic links do not end"));
        EXPECT_TRUE(fs::is_symlink(a));
    }
    EXPECT_TRUE(leftovers().empty());
}

// ---------------------------------------------------------------- reading

TEST_F(FileTargetTest, OpeningOrImportingAFifoIsRefusedWithoutWaitingOnIt) {
    failIfStuck();
    const std::size_t nodes = ehost::theScene().nodes().size();
    std::string error;
    fs::path scene = fifo("scene.tsk");
    EXPECT_FALSE(ehost::openScene(scene.string(), &error));
    EXPECT_EQ(error,
              "cannot open " + scene.string() + ": it is a FIFO (named pipe), not a regular file");
    for (const char* name : {"mesh.obj", "mesh.off"}) {
        fs::path mesh = fifo(name);
        EXPECT_EQ(ehost::importMesh(mesh.string(), &error), nullptr);
        EXPECT_THAT(error, HasSubstr("it is a FIFO (named pipe), not a regular file"));
        // Through a link, too.
        fs::path link = path(std::string("link-") + name);
        fs::create_symlink(mesh.filename(), link);
        EXPECT_EQ(ehost::importMesh(link.string(), &error), nullptr);
        EXPECT_THAT(error, HasSubstr("it is a FIFO (named pipe), not a regular file"));
    }
    EXPECT_EQ(ehost::theScene().nodes().size(), nodes);
    EXPECT_NE(ehost::theScene().find("c"), nullptr) << "the scene is as it was";
}

TEST_F(FileTargetTest, ImportingADeviceIsRefusedBeforeAnythingIsRead) {
    if (::geteuid() != 0) GTEST_SKIP() << "device nodes can be made only by root";
    // Like the zero device, which would be read without end.
    fs::path zero = path("zero.obj");
    ASSERT_EQ(::mknod(zero.c_str(), S_IFCHR | 0644, makedev(1, 5)), 0) << std::strerror(errno);
    std::string error;
    EXPECT_EQ(ehost::importMesh(zero.string(), &error), nullptr);
    EXPECT_THAT(error, HasSubstr("it is a character device, not a regular file"));
    EXPECT_FALSE(ehost::openScene(zero.string(), &error));
    EXPECT_THAT(error, HasSubstr("it is a character device, not a regular file"));
}

// ---------------------------------------------------------------- preferences

class PreferencesFileTest : public FileTargetTest {
protected:
    fs::path prefsFile() const { return path("optionVars.json"); }
    //! Reads the preferences of the directory, with what it warned about.
    std::unique_ptr<ehost::Preferences> load(std::string& warnings) {
        ::testing::internal::CaptureStderr();
        auto prefs = std::make_unique<ehost::Preferences>(dir_.string());
        warnings = ::testing::internal::GetCapturedStderr();
        return prefs;
    }
};

TEST_F(PreferencesFileTest, ADamagedFileIsKeptAsideAndNeverOverwritten) {
    const std::string damaged = "{\"kv_uspan\": [{\"int\": 6}], \"kv_vspan\": [{\"int\": 7\n";
    writeText(prefsFile(), damaged);
    std::string warnings;
    auto prefs = load(warnings);
    const fs::path aside = path("optionVars.json.damaged");
    EXPECT_THAT(warnings, HasSubstr("// Warning: preferences file " + prefsFile().string() +
                                    " is damaged ("));
    EXPECT_THAT(warnings, HasSubstr("it is kept as " + aside.string() +
                                    "; no option variables were read //"));
    EXPECT_EQ(readText(aside), damaged);
    EXPECT_FALSE(fs::exists(prefsFile()));
    EXPECT_EQ(prefs->find("kv_uspan"), nullptr);

    // The next write starts a new file and leaves the damaged one alone.
    ASSERT_TRUE(prefs->set("kv_bdiv", ehost::OptionValue::ofInt(3)));
    EXPECT_EQ(readText(aside), damaged);
    EXPECT_EQ(load(warnings)->find("kv_bdiv")->asInt(), 3);
    EXPECT_EQ(warnings, "");

    // A second damaged file does not replace the first one kept.
    writeText(prefsFile(), "not json");
    load(warnings);
    EXPECT_THAT(warnings, HasSubstr("it is kept as " + aside.string() + "-2"));
    EXPECT_EQ(readText(aside), damaged);
    EXPECT_EQ(readText(path("optionVars.json.damaged-2")), "not json");
}

TEST_F(PreferencesFileTest, SettingTheValueAlreadyThereLeavesTheFileAlone) {
    std::string warnings;
    auto prefs = load(warnings);
    ASSERT_TRUE(prefs->set("Tessark_info1", ehost::OptionValue::ofString("Drawing stroke")));
    ASSERT_TRUE(prefs->set("kv_zero", ehost::OptionValue::ofDouble(0.0)));
    const auto inode = [&] {
        struct stat st {};
        return ::stat(prefsFile().c_str(), &st) == 0 ? st.st_ino : ino_t(0);
    };
    const ino_t first = inode();
    ASSERT_NE(first, ino_t(0));
    // Every save writes a new file and renames it over the old one.
    ASSERT_TRUE(prefs->set("Tessark_info1", ehost::OptionValue::ofString("Drawing stroke")));
    ASSERT_TRUE(prefs->set("kv_zero", ehost::OptionValue::ofDouble(0.0)));
    EXPECT_FALSE(prefs->remove("kv_never"));
    EXPECT_EQ(inode(), first) << "nothing changed, nothing written";
    ASSERT_TRUE(prefs->set("kv_zero", ehost::OptionValue::ofDouble(-0.0)));
    EXPECT_NE(inode(), first) << "-0 is written as a value of its own";
    ASSERT_TRUE(prefs->set("kv_zero", ehost::OptionValue::ofInt(0)));
    EXPECT_EQ(load(warnings)->find("kv_zero")->kind, ehost::OptionValue::Kind::Int)
        << "a change of kind is a change";
}

TEST_F(PreferencesFileTest, AnIntegerBeyond32BitsIsRefusedNotCutShort) {
    writeText(prefsFile(),
              "{\"kv_uspan\": [{\"int\": 6}], \"kv_big\": [{\"int\": 5000000000}],"
              " \"kv_low\": [{\"int\": -2147483649}], \"kv_edge\": [{\"int\": 2147483647}]}\n");
    std::string warnings;
    auto prefs = load(warnings);
    EXPECT_THAT(warnings,
                HasSubstr("is damaged (kv_big: the integer 5000000000 is out of range "
                          "(-2147483648 to 2147483647)); it is kept as " +
                          prefsFile().string() + ".damaged; 2 option variables were read from it"));
    EXPECT_EQ(prefs->find("kv_big"), nullptr);
    EXPECT_EQ(prefs->find("kv_low"), nullptr);
    EXPECT_EQ(prefs->find("kv_uspan")->asInt(), 6);
    EXPECT_EQ(prefs->find("kv_edge")->asInt(), 2147483647);
}

TEST_F(PreferencesFileTest, AFullDiskFailsTheChangeAndKeepsTheFileAndTheValue) {
    std::string warnings;
    auto prefs = load(warnings);
    ASSERT_TRUE(prefs->set("kv_uspan", ehost::OptionValue::ofInt(6)));
    const std::string previous = readText(prefsFile());

    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 64;
    ::setrlimit(RLIMIT_FSIZE, &small);
    MStatus st = prefs->set("kv_uspan", ehost::OptionValue::ofString(std::string(4096, 'x')));
    MStatus appended =
        prefs->append("kv_uspan", ehost::OptionValue::ofString(std::string(99, 'y')));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(st);
    EXPECT_THAT(st.errorString().str(),
                HasSubstr("cannot save preferences file " + prefsFile().string() +
                          ": File too large (the previous file is unchanged)"));
    EXPECT_FALSE(appended);
    EXPECT_EQ(readText(prefsFile()), previous);
    ASSERT_EQ(prefs->findList("kv_uspan")->size(), 1u);
    EXPECT_EQ(prefs->find("kv_uspan")->asInt(), 6) << "the refused change is taken back";
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(PreferencesFileTest, AFifoInThePlaceOfTheFileIsLeftAlone) {
    failIfStuck();
    fifo("optionVars.json");
    std::string warnings;
    auto prefs = load(warnings);
    EXPECT_THAT(warnings, HasSubstr("it is a FIFO (named pipe), not a regular file; option "
                                    "variables are kept for this session only"));
    MStatus st = prefs->set("kv_uspan", ehost::OptionValue::ofInt(6));
    EXPECT_FALSE(st);
    EXPECT_THAT(st.errorString().str(), HasSubstr("the preferences file is left alone"));
    EXPECT_TRUE(isFifo(prefsFile()));
    EXPECT_EQ(prefs->find("kv_uspan"), nullptr);
}

TEST_F(PreferencesFileTest, ALinkedPreferencesFileIsWrittenThrough) {
    fs::create_directory(path("dotfiles"));
    writeText(path("dotfiles") / "tessark.json", "{\"kv_uspan\": [{\"int\": 6}]}\n");
    fs::create_symlink(fs::path("dotfiles") / "tessark.json", prefsFile());
    std::string warnings;
    auto prefs = load(warnings);
    EXPECT_EQ(prefs->find("kv_uspan")->asInt(), 6);
    ASSERT_TRUE(prefs->set("kv_vspan", ehost::OptionValue::ofInt(9)));
    EXPECT_TRUE(fs::is_symlink(prefsFile()));
    EXPECT_THAT(readText(path("dotfiles") / "tessark.json"), HasSubstr("kv_vspan"));
}

}  // namespace
