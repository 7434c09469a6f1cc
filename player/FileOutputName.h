#pragma once

#include <string>

// The WAV file that the Player's "File" output writes for one playlist entry: named from the
// entry's display text in the chosen folder, its ".mp3" replaced by ".wav".
class FileOutputName {
public:
    // The display text with each ".mp3" (in any case) replaced by ".wav", and ".wav" appended
    // when the name does not end in it then, so that the output never takes the name of the song
    // itself. A '/' becomes '_' (a comment of an Add URL entry may hold one). The rest keeps its case.
    static std::string fileName(const std::string& display);
    // folder/fileName(display).
    static std::string path(const std::string& folder, const std::string& display);
    // What the output command takes: "wav:" and the path.
    static std::string outputName(const std::string& folder, const std::string& display);
};
