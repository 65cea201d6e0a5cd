#pragma once
// The one directory a harness's inputs may touch: made fresh (mkdtemp) when
// the harness starts, made the working directory, emptied after every input
// and removed when the process ends. Inputs that name files do so relative
// to it (see InputGuards.h), so fuzzing never writes anywhere else.
//
// Since the working directory changes, the harnesses that use it make the
// paths on their command line (corpus directories, inputs, -artifact_prefix
// and the like) absolute first: enter(argc, argv) from LLVMFuzzerInitialize,
// which libFuzzer calls before it reads its arguments.

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace fuzz {

class ScratchDir {
public:
    //! The process's scratch directory, created and entered on first use.
    static ScratchDir& get() {
        // Never destroyed: the removal at exit still needs the path.
        static ScratchDir* dir = new ScratchDir;
        return *dir;
    }

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

    //! Removes whatever the last input left, so that inputs stay independent.
    void wipe() const {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(path_, ec))
            std::filesystem::remove_all(entry.path(), ec);
        // A command may have changed the working directory's permissions or
        // the input removed the directory: either would leak into later inputs.
        if (::chdir(path_.c_str()) != 0) std::abort();
    }

    //! Makes the command line's paths absolute, then makes the scratch directory the working one.
    static void enter(int* argc, char*** argv) {
        static const char* const kPathFlags[] = {
            "-artifact_prefix=", "-exact_artifact_path=", "-dict=",
            "-seed_inputs=",     "-features_dir=",        "-merge_control_file="};
        for (int i = 1; i < *argc; ++i) {
            std::string arg = (*argv)[i];
            std::string flag;
            if (arg.rfind("-", 0) == 0) {
                for (const char* f : kPathFlags)
                    if (arg.rfind(f, 0) == 0) flag = f;
                if (flag.empty()) continue;
                arg = arg.substr(flag.size());
            }
            if (arg.empty() || arg[0] == '/') continue;
            std::string absolute = std::filesystem::absolute(arg).string();
            // A prefix names a directory only by its trailing slash: keep it.
            if (arg.back() == '/' && absolute.back() != '/') absolute += '/';
            (*argv)[i] = strdup((flag + absolute).c_str());  // for the life of the process
        }
        // Crash inputs land where the harness was started, not in the scratch directory.
        bool prefixed = false;
        for (int i = 1; i < *argc; ++i)
            prefixed = prefixed || std::strncmp((*argv)[i], "-artifact_prefix=", 17) == 0 ||
                       std::strncmp((*argv)[i], "-exact_artifact_path=", 21) == 0;
        if (!prefixed) {
            char** args = new char*[static_cast<std::size_t>(*argc) + 2];
            std::copy(*argv, *argv + *argc, args);
            const std::string here = std::filesystem::current_path().string() + "/";
            args[(*argc)++] = strdup(("-artifact_prefix=" + here).c_str());
            args[*argc] = nullptr;
            *argv = args;
        }
        get();
    }

    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

private:
    ScratchDir() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/tessark-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make " + pattern);
        path_ = pattern;
        if (::chdir(path_.c_str()) != 0) throw std::runtime_error("cannot enter " + path_);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(get().path_, ec);
        });
    }

    std::string path_;
};

}  // namespace fuzz
