// What the benchmarks of both levels share: the three naming styles of a
// city's basins and a registry loaded once per benchmark setting.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace bench {

// Seconds a per-call case runs untimed first.  The first case of a process
// otherwise measures a processor still waking up: up to 1.7 times its
// steady time here.
inline constexpr double kWarmUpSeconds = 0.5;

// 0: B-000001 ..., 1: Basin 1 ..., 2: eight hex digits of a scrambled number.
inline std::string basinName(int style, int number) {
    char name[32];
    if (style == 0)
        std::snprintf(name, sizeof name, "B-%06d", number);
    else if (style == 1)
        std::snprintf(name, sizeof name, "Basin %d", number);
    else
        std::snprintf(name, sizeof name, "%08X", static_cast<unsigned>(number) * 2654435761u);
    return name;
}

inline const char *styleLabel(int style) {
    return style == 0 ? "B-000001" : style == 1 ? "Basin 1" : "hex8";
}

// Calls `restart` on every stored basin, so that the next sweeps begin a
// fresh storm instead of running the Horton curve ever further out on its
// tail, where the exponential underflows.
template <class Registry, class Restart> void restartEveryBasin(Registry &registry, Restart restart) {
    for (auto *head : registry.chains)
        for (auto *node = head; node != nullptr; node = node->next) restart(node->basin);
}

inline std::vector<std::string> basinNames(int style, int count) {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i) names.push_back(basinName(style, i));
    return names;
}

} // namespace bench
