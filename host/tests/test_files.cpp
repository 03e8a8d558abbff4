#include "test_files.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace vesk::host::testing {

std::string outputPath(const std::string &name) { return std::string(VESK_HOST_TEST_OUTPUT) + "/" + name; }
std::string examplePath(const std::string &name) { return std::string(VESK_EXAMPLES_DIR) + "/" + name; }
std::string inputsPath(const std::string &name) { return std::string(VESK_INPUTS_DIR) + "/" + name; }

std::string writeScratchFile(const std::string &name, const std::string &text) {
    // Test cases run as parallel processes; a rename keeps a reader from
    // seeing one half written.
    const std::string path = outputPath(name);
    const std::string partial = path + "." + std::to_string(getpid());
    std::ofstream(partial, std::ios::binary) << text;
    std::rename(partial.c_str(), path.c_str());
    return path;
}

std::string readWholeFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace vesk::host::testing
