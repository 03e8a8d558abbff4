// A run as one HTML file an engineer can hand in: the inputs with their
// checksums, the basins as given and as the library prepared them, the
// storms, each basin's computation step, the summary (outlet first), the
// peaks of several storms, a rain and outflow figure per storm, every
// warning once with the basins it concerns, and the versions and command
// line that made it.  Self-contained: CSS and SVG inline, no scripts, no
// reference to anything outside the file; laid out to print on A4 or
// letter paper.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "basin_source.h"
#include "storm_file.h"
#include "storm_run.h"
#include "warnings.h"

namespace vesk::tool {

using namespace vesk::host;

// A file the run read.
struct ReportInput {
    std::string role; // "basins" or "storm"
    std::string path;
    std::uintmax_t bytes = 0;
    std::string sha256; // 64 hexadecimal digits
};

struct ReportContent {
    std::string commandLine; // as typed, each word quoted where the shell would need it
    std::string versions;    // the program's and the library's versions
    std::string madeAt;      // "2026-12-09 07:50 UTC"
    std::vector<ReportInput> inputs;
    std::vector<BasinSource> sources; // the basins as read, in the library's units
    std::vector<NamedStorm> storms;   // as read, before any resampling
    std::vector<StormRun> runs;       // one per storm, the same basins in each, in one unit system
    Warnings warnings;                // everything the run warned of, in order
};

void writeHtmlReport(std::ostream &out, const ReportContent &content);

// The inputs' sizes and SHA-256 digests; throws InputError when one cannot be read.
ReportInput reportInput(const std::string &role, const std::string &path);

// The command line as one string a shell would split back into `words`.
std::string shellCommandLine(const std::vector<std::string> &words);

} // namespace vesk::tool
