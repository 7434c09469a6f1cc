#include "player/FileOutputName.h"

#include <cctype>

namespace {

bool sameLetters(const std::string& text, std::size_t at, const std::string& lowerWord) {
    if (at + lowerWord.size() > text.size()) return false;
    for (std::size_t i = 0; i < lowerWord.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != lowerWord[i]) return false;
    return true;
}

} // namespace

std::string FileOutputName::fileName(const std::string& display) {
    std::string name;
    name.reserve(display.size() + 4);
    for (std::size_t i = 0; i < display.size();) {
        if (sameLetters(display, i, ".mp3")) {
            name += ".wav";
            i += 4;
        } else {
            name += display[i] == '/' ? '_' : display[i];
            ++i;
        }
    }
    if (name.size() < 4 || !sameLetters(name, name.size() - 4, ".wav")) name += ".wav";
    return name;
}

std::string FileOutputName::path(const std::string& folder, const std::string& display) {
    std::string result = folder;
    if (result.empty() || result.back() != '/') result += '/';
    return result + fileName(display);
}

std::string FileOutputName::outputName(const std::string& folder, const std::string& display) {
    return "wav:" + path(folder, display);
}
