#pragma once

#include <clocale>
#include <cstring>
#include <string>

namespace tavi::test {

// Switches the process to a locale whose decimal separator is a comma, when one is installed,
// and restores the previous locale when it goes.
class CommaLocale {
public:
    CommaLocale() : previous(std::setlocale(LC_ALL, nullptr)) {
        if (hasCommaDecimal()) {
            active = true;
            return;
        }
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8",
                                 "nl_NL.UTF-8", "ru_RU.UTF-8", "de_DE", "fr_FR"}) {
            if (std::setlocale(LC_ALL, name) && hasCommaDecimal()) {
                active = true;
                return;
            }
        }
        std::setlocale(LC_ALL, previous.c_str());
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;
    ~CommaLocale() { std::setlocale(LC_ALL, previous.c_str()); }

    bool isActive() const { return active; }

private:
    static bool hasCommaDecimal() {
        return std::strcmp(std::localeconv()->decimal_point, ",") == 0;
    }

    std::string previous;
    bool active = false;
};

} // namespace tavi::test
