// A fault in the user's input: the message names the file (and the line where
// there is one) and says what is wrong, ready to print after "vesk: ".
#pragma once

#include <stdexcept>
#include <string>

namespace vesk::host {

class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "path:line: what" -- the form compilers use, so editors can jump to it.
inline InputError inputErrorAt(const std::string &path, int line, const std::string &what) {
    return InputError(path + ":" + std::to_string(line) + ": " + what);
}

inline InputError inputErrorIn(const std::string &path, const std::string &what) {
    return InputError(path + ": " + what);
}

} // namespace vesk::host
