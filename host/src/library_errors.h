// The library reports failures only as numbers; the host supplies the words.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vesk::host {

// "VESK_ERR_UH_FIT" for 2; "unknown error code" for a value the library never sets.
const char *errorCodeName(int32_t code);

// One plain sentence of what went wrong, for a person running the tool.
const char *errorCodeSentence(int32_t code);

// A refusal by the library: what the tool was doing, and the code it got.
class LibraryError : public std::runtime_error {
public:
    LibraryError(const std::string &doing, int32_t code);
    int32_t code() const { return code_; }

private:
    int32_t code_;
};

} // namespace vesk::host
