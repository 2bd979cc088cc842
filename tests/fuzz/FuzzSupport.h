// What the fuzz targets share: stopping on a broken promise, and a scratch folder of the process.
#ifndef SCN_FUZZ_SUPPORT_H
#define SCN_FUZZ_SUPPORT_H

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace ScnFuzz {

// Stops the process, which the fuzzer records as a finding, when a promise does not hold.
inline void require(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

inline bool exists(const std::string& path)
{
    struct stat facts;
    return stat(path.c_str(), &facts) == 0;
}

// The bytes of a file; none when it cannot be read.
inline std::string contentOf(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// "/tmp/scn-fuzz-<name>-<process>", made at the first call (one target runs in a process) and
// removed with everything in it when the process exits; the name is never destroyed before that.
inline const std::string& workFolder(const char* name)
{
    static const std::string* folder = [name] {
        auto* made = new std::string(std::string("/tmp/scn-fuzz-") + name + "-" + std::to_string(getpid()));
        require(mkdir(made->c_str(), 0700) == 0 || exists(*made));
        std::atexit([] { (void)!std::system(("rm -rf '" + *folder + "'").c_str()); });
        return made;
    }();
    return *folder;
}

}  // namespace ScnFuzz

#endif
