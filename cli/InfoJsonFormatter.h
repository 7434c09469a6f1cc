#pragma once

#include "cli/InfoFacts.h"

#include <string>

// quarvel-cli info's JSON for one file: one object on one line, for scripts. Every object has
// "file" (the path as given); a file that failed has "error" with the reason, the others
// "type" and their facts.
class InfoJsonFormatter {
public:
    static std::string format(const InfoFacts& facts);
};
