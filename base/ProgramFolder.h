#pragma once

#include <string>

// Where the program's data files lie (help pages, "stylesheet.css", "bottom.txt"): the folder
// of the running program when "hlp" lies beside it, else "../share/quarvel" from there (the
// installed layout).
class ProgramFolder {
public:
    static std::string ofExecutable(const std::string& executablePath);
    // The same for the program that is running now.
    static std::string current();
};
