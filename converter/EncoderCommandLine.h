#pragma once

#include <optional>
#include <string>
#include <vector>

// The values of the Converter form that enter an encoder's command line.
struct ConverterValues {
    bool isLame = true;
    std::string channel = "stereo";
    std::string minBitrate = "128";
    std::string maxBitrate = "128";
    std::string avgBitrate = "128";
    std::string bitrateMode = "Constant bitrate";
    int vbrQuality = 4;
    std::string quality;
    // Folders end with "/" or are empty.
    std::string inputFolder;
    std::string outputFolder;
};

// One encoder start: the program's name, its arguments as the process gets them, and the same
// command as one text, file paths in double quotes, as the form shows it.
struct EncoderCommand {
    std::string program;
    std::vector<std::string> arguments;
    std::string text;
    std::string outputPath;
};

// Builds the command lines of the external encoders: "lame" (WAV to MP3, and MP3 back to WAV
// with --decode) and "oggenc" (WAV to Ogg Vorbis).
class EncoderCommandLine {
public:
    enum RateMode { Constant = 0, Average = 1, Variable = 2, NotLame = 3 };

    static constexpr const char* LameProgram = "lame";
    static constexpr const char* OggProgram = "oggenc";

    // The rate mode that the Mode box's text selects.
    static RateMode rateModeOf(bool isLame, const std::string& bitrateModeText);

    // The options that come before the file arguments, as a text ending in a blank
    // ("--cbr -b 128 -m s -q 2 ") and as arguments.
    static std::string optionsText(const ConverterValues& values);
    static std::vector<std::string> optionArguments(const ConverterValues& values);

    // The command for the file name of one selected row, or nothing when the row is skipped
    // (its name holds neither ".wav" nor ".mp3", or an MP3 is given to the Ogg encoder).
    static std::optional<EncoderCommand> forFile(const ConverterValues& values, const std::string& fileName);

    // The folder with its trailing "/"; an empty folder stays empty.
    static std::string withSeparator(const std::string& folder);
    // ASCII letters in lower case; other bytes (UTF-8 sequences included) as they are.
    static std::string lowerCase(const std::string& text);

private:
    static std::string quoted(const std::string& path);
};
