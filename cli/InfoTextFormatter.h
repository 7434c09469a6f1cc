#pragma once

#include "cli/InfoFacts.h"

#include <string>

// quarvel-cli info's text for one file, as lines for a person to read. A file that failed has
// no text here; its message goes to standard error.
class InfoTextFormatter {
public:
    // named: begin a part's or an OLD or ENC file's text with the file's name as well (an MP3's
    // text always begins with it, as the analyser tree does), for output about several files.
    static std::string format(const InfoFacts& facts, bool named);
};
