#include "program_version.h"

#include "library_session.h"

namespace vesk::tool {

namespace {

std::string stampText(const VersionStamp &v) {
    // The stamp's order is major, minor, build, release; the version reads
    // major.minor.release.build.
    return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.release) + "." +
           std::to_string(v.build);
}

} // namespace

std::string versionText() {
    VersionStamp loaded{};
    vesk_getversion(&loaded);
    return "vesk " + stampText(host::builtAgainstVersion()) + ", built against veskdll133 " +
           stampText(host::builtAgainstVersion()) + ", running with libveskdll133 " + stampText(loaded);
}

} // namespace vesk::tool
