#include "test_files.h"

namespace vesk::host::testing {

std::string outputPath(const std::string &name) { return std::string(VESK_HOST_TEST_OUTPUT) + "/" + name; }
std::string examplePath(const std::string &name) { return std::string(VESK_EXAMPLES_DIR) + "/" + name; }
std::string inputsPath(const std::string &name) { return std::string(VESK_INPUTS_DIR) + "/" + name; }

std::string writeScratchFile(const std::string &name, const std::string &text) {
    return writeWholeFile(outputPath(name), text);
}

} // namespace vesk::host::testing
