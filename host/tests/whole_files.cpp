#include "whole_files.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace vesk::host::testing {

std::string writeWholeFile(const std::string &path, const std::string &text) {
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
