#pragma once

#include <cstdint>
#include <string>

// The values of the Decoder form that a join works on.
struct JoinValues {
    std::string inputPart;    // the picked part; part 0 once a Geo set was found
    std::string inputFolder;  // the folder of the picked part
    std::string outputFolder;
    std::string outputName;   // empty: nothing can be joined
    std::uint32_t partCount = 0;
    int partType = 0;         // see PartType
    std::string userKey;      // at most 10 characters, the same for every part
    bool autoDelete = false;  // delete the parts after a successful join
    std::string message;      // the last bilingual message
};
