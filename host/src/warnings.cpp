#include "warnings.h"

#include <algorithm>
#include <map>

namespace vesk::host {

const char *causeTitle(WarningCause cause) {
    switch (cause) {
    case WarningCause::UnusualValue: return "unusual values, accepted";
    case WarningCause::UnitHydrographStep:
        return "unit hydrographs built at their computation step instead of the file's uhTimeStep";
    case WarningCause::UnitHydrographVolume: return "the sampled unit hydrograph misses one inch (25.4 mm) over the basin";
    case WarningCause::OutflowVolume: return "the outflow misses the run's excess volume";
    case WarningCause::StillFlowing: return "the outflow did not come back to 0 after the unit hydrograph ended";
    case WarningCause::RunLimit: return "the run stopped at its limit with water still draining";
    case WarningCause::StormCut: return "storm steps beyond the duration were not applied";
    case WarningCause::LongRecord: return "a long record with dry spells runs as one event";
    case WarningCause::GapsFilled: return "missing rows of a record filled with dry steps, as asked";
    case WarningCause::PeakUnresolved: return "the time to peak is short even for the finest step that holds the volume";
    }
    return "warning";
}

namespace {

// A basin of a group with its details, in order of first appearance.
struct Member {
    std::string basin;
    std::vector<std::string> details;
};

std::string memberText(const Member &member) {
    std::string text = member.basin.empty() ? "the run" : member.basin;
    std::vector<std::string> shown;
    for (const std::string &detail : member.details)
        if (!detail.empty()) shown.push_back(detail);
    if (shown.empty()) return text;
    text += " (";
    for (std::size_t i = 0; i < shown.size() && i < 3; ++i) text += (i ? "; " : "") + shown[i];
    if (shown.size() > 3) text += "; " + std::to_string(shown.size() - 3) + " more";
    return text + ")";
}

std::string groupLine(const WarningGroup &group, std::size_t width) {
    const std::vector<std::string> &members = group.members;
    std::string line = std::string(isNote(group.cause) ? "note: " : "warning: ") + causeTitle(group.cause) + " (" +
                       std::to_string(group.count) + " times, " + std::to_string(members.size()) +
                       (members.size() == 1 ? " basin" : " basins") + "): ";
    for (std::size_t i = 0; i < members.size(); ++i) {
        const std::string piece = (i ? ", " : "") + members[i];
        const bool last = i + 1 == members.size();
        const std::string rest = ", and " + std::to_string(members.size() - i) + " more";
        // Room for the piece, and for saying how many follow unless it is the last.
        if (i > 0 && line.size() + piece.size() + (last ? 0 : rest.size() + 2) > width) return line + rest;
        line += piece;
    }
    return line;
}

} // namespace

std::vector<WarningGroup> groupedWarnings(const Warnings &warnings) {
    std::vector<WarningCause> order;
    std::map<WarningCause, std::vector<const Warning *>> byCause;
    for (const Warning &w : warnings) {
        if (byCause.find(w.cause) == byCause.end()) order.push_back(w.cause);
        byCause[w.cause].push_back(&w);
    }
    std::vector<WarningGroup> groups;
    for (const WarningCause cause : order) {
        const std::vector<const Warning *> &all = byCause[cause];
        std::vector<Member> members;
        for (const Warning *w : all) {
            auto at = std::find_if(members.begin(), members.end(),
                                   [&](const Member &m) { return m.basin == w->basin; });
            if (at == members.end()) {
                members.push_back(Member{w->basin, {}});
                at = members.end() - 1;
            }
            at->details.push_back(w->detail);
        }
        WarningGroup group{cause, all.size(), {}, all.size() == 1 ? all.front()->text : std::string()};
        for (const Member &member : members) group.members.push_back(memberText(member));
        groups.push_back(std::move(group));
    }
    return groups;
}

std::vector<std::string> groupedWarningLines(const Warnings &warnings, std::size_t width) {
    std::vector<std::string> lines;
    for (const WarningGroup &group : groupedWarnings(warnings)) {
        if (group.count == 1) lines.push_back(std::string(isNote(group.cause) ? "note: " : "warning: ") + group.sentence);
        else lines.push_back(groupLine(group, width));
    }
    return lines;
}

} // namespace vesk::host
