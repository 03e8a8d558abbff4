#include "text_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "input_error.h"

namespace vesk::host {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr std::size_t kByteOrderMarkLength = sizeof kByteOrderMark - 1;

// The whole stream, refused as soon as it passes kMaxFileBytes or holds a
// line longer than kMaxLineBytes, so an endless device stops early.
std::string boundedContents(std::istream &in, const std::string &path) {
    std::string text;
    char chunk[65536];
    std::size_t lineStart = 0, lines = 1;
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        const std::size_t from = text.size();
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
        for (std::size_t i = from; i < text.size(); ++i)
            if (text[i] == '\n') lineStart = i + 1, ++lines;
        if (text.size() - lineStart > kMaxLineBytes + kByteOrderMarkLength + 1)
            throw inputErrorAt(path, static_cast<int>(lines),
                               "line longer than " + std::to_string(kMaxLineBytes) + " characters");
        if (text.size() > kMaxFileBytes)
            throw inputErrorIn(path, "is larger than " + std::to_string(kMaxFileBytes >> 20) +
                                         " MiB; is it the intended file?");
    }
    if (in.bad()) throw inputErrorIn(path, "read error");
    return text;
}

} // namespace

std::vector<std::string> splitTextLines(const std::string &text, const std::string &path) {
    std::vector<std::string> lines;
    std::size_t start = text.compare(0, kByteOrderMarkLength, kByteOrderMark) == 0 ? kByteOrderMarkLength : 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const int number = static_cast<int>(lines.size()) + 1;
        if (line.size() > kMaxLineBytes)
            throw inputErrorAt(path, number, "line longer than " + std::to_string(kMaxLineBytes) + " characters");
        if (line.find('\0') != std::string::npos)
            throw inputErrorAt(path, number, "holds a NUL byte; is it a text file?");
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> readTextLines(const std::string &path, const std::string &kind) {
    if (path == kStandardInput) return splitTextLines(boundedContents(std::cin, kStandardInputName), kStandardInputName);
    // A directory opens as a stream on Linux and reads as if empty.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) throw inputErrorIn(path, "is a directory, not a " + kind);
    std::ifstream in(path, std::ios::binary);
    if (!in) throw inputErrorIn(path, "cannot open the " + kind + ": " + std::strerror(errno));
    return splitTextLines(boundedContents(in, path), path);
}

} // namespace vesk::host
