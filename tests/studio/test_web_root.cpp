// The page's files: what a request names, and that nothing else is served.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "studio/WebRoot.h"

namespace {

namespace fs = std::filesystem;
using tessark_studio::WebRoot;

class WebRootTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "webroot.XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        for (const char* f : {"index.html", "src/studio.js", "src/style.css",
                              "node_modules/three/build/three.module.js", "package.json",
                              "node_modules/other/index.js"}) {
            fs::create_directories((root / f).parent_path());
            std::ofstream(root / f) << "x";
        }
        fs::create_directories(root / "src/folder");
        std::ofstream(root.parent_path() / "outside.txt") << "secret";
    }
    void TearDown() override { fs::remove_all(root); }

    std::string served(const std::string& target) {
        std::string file;
        if (!WebRoot(root.string()).resolve(target, file)) return "";
        return fs::relative(file, root).string();
    }

    fs::path root;
};

TEST_F(WebRootTest, ThePageItsScriptsAndThreeJs) {
    EXPECT_EQ(served("/"), "index.html");
    EXPECT_EQ(served("/index.html"), "index.html");
    EXPECT_EQ(served("/?reload=1"), "index.html");
    EXPECT_EQ(served("/src/studio.js"), "src/studio.js");
    EXPECT_EQ(served("/three/build/three.module.js"), "node_modules/three/build/three.module.js");
    EXPECT_EQ(WebRoot::mediaType("a/b.js"), "text/javascript; charset=utf-8");
    EXPECT_EQ(WebRoot::mediaType("index.html"), "text/html; charset=utf-8");
    EXPECT_EQ(WebRoot::mediaType("x.bin"), "application/octet-stream");
    std::string why;
    EXPECT_TRUE(WebRoot(root.string()).check(why)) << why;
}

TEST_F(WebRootTest, NothingElseIsServed) {
    for (const char* target :
         {"/package.json", "/node_modules/other/index.js", "/src/../package.json",
          "/three/../other/index.js", "/src/%2e%2e/package.json", "/src/..\\package.json",
          "/src/folder", "/src/", "/src//studio.js", "/src/./studio.js", "/../outside.txt",
          "/src/missing.js", "", "src/studio.js"})
        EXPECT_EQ(served(target), "") << target;
}

TEST_F(WebRootTest, AFolderWithoutThreeJsSaysHowToInstallIt) {
    fs::remove_all(root / "node_modules");
    std::string why;
    EXPECT_FALSE(WebRoot(root.string()).check(why));
    EXPECT_EQ(why, "three.js is not installed in " + root.string() +
                       " (run ./run.sh build, or npm ci in that folder)");
    fs::remove(root / "index.html");
    EXPECT_FALSE(WebRoot(root.string()).check(why));
    EXPECT_EQ(why,
              "the page is not in " + root.string() + " (no index.html there; give --web DIR)");
}

}  // namespace
