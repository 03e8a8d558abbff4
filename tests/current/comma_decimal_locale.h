// A locale whose decimal point is a comma, made for the test in a scratch
// directory (only its number formats matter) and switched on for the life of
// the object.  Hosts set such locales; the library's reading of numbers must
// not follow them.
#pragma once

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#ifdef __linux__
#include <sys/stat.h>
#include <unistd.h>
#endif

class CommaDecimalLocale {
public:
    CommaDecimalLocale() {
#ifdef __linux__
        dir_ = testing::TempDir() + "vesk_comma_locale_" + std::to_string(getpid());
        const std::string source = dir_ + ".src";
        if (mkdir(dir_.c_str(), 0700) != 0) return;
        std::FILE *file = std::fopen(source.c_str(), "w");
        if (file == nullptr) return;
        std::fputs("LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \".\"\ngrouping 3;3\nEND LC_NUMERIC\n", file);
        std::fclose(file);
        // localedef warns (and exits 1) about the categories left out but
        // writes the locale all the same; whether it worked shows below.
        const std::string command =
            "localedef -c -i '" + source + "' -f ANSI_X3.4-1968 '" + dir_ + "/comma' >/dev/null 2>&1";
        if (std::system(command.c_str()) == -1) return;
        setenv("LOCPATH", dir_.c_str(), 1);
        active_ = std::setlocale(LC_ALL, "comma") != nullptr && std::strcmp(std::localeconv()->decimal_point, ",") == 0;
        std::remove(source.c_str());
#endif
    }
    ~CommaDecimalLocale() {
        std::setlocale(LC_ALL, "C");
#ifdef __linux__
        unsetenv("LOCPATH");
        if (!dir_.empty()) {
            [[maybe_unused]] const int removed = std::system(("rm -rf '" + dir_ + "'").c_str());
        }
#endif
    }
    CommaDecimalLocale(const CommaDecimalLocale &) = delete;
    CommaDecimalLocale &operator=(const CommaDecimalLocale &) = delete;

    // False where no such locale could be made (no localedef, not Linux).
    bool active() const { return active_; }

private:
    std::string dir_;
    bool active_ = false;
};
