#include "converter/EncoderCommandLine.h"
#include "converter/ProgramLookup.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

// The form's defaults: constant 128 kbit/s, stereo, the first quality entry.
ConverterValues defaults() {
    ConverterValues values;
    values.quality = "2 | High Quality Mode ( recommended )";
    values.inputFolder = "/in/";
    values.outputFolder = "/out/";
    return values;
}

struct CommandCase {
    const char* what;
    ConverterValues values;
    std::string fileName;
    std::string text;  // empty: the row is skipped
};

std::vector<CommandCase> commandCases() {
    std::vector<CommandCase> cases;
    const ConverterValues base = defaults();
    cases.push_back({"a WAV file", base, "song.wav", "--cbr -b 128 -m s -q 2 \"/in/song.wav\" \"/out/song.mp3\""});
    cases.push_back({"an MP3 file, found without regard to case, keeps its real name as input", base, "Song.MP3",
                     "--cbr -b 128 -m s -q 2 --decode \"/in/Song.MP3\" \"/out/song.wav\""});
    cases.push_back({"neither extension", base, "notes.txt", ""});
    cases.push_back({"a.wav.bak holds .wav", base, "a.wav.bak", "--cbr -b 128 -m s -q 2 \"/in/a.wav.bak\" \"/out/a.mp3\""});
    cases.push_back({"both extensions count as WAV", base, "x.mp3.wav",
                     "--cbr -b 128 -m s -q 2 \"/in/x.mp3.wav\" \"/out/x.mp3.mp3\""});
    cases.push_back({"blank, umlaut and quote stay in the name", base, "Mein Lied \"Ä\".WAV",
                     "--cbr -b 128 -m s -q 2 \"/in/Mein Lied \"Ä\".WAV\" \"/out/mein lied \"Ä\".mp3\""});
    ConverterValues noSeparator = base;
    noSeparator.outputFolder = "/out";
    cases.push_back({"an output folder without its separator", noSeparator, "song.wav",
                     "--cbr -b 128 -m s -q 2 \"/in/song.wav\" \"/out/song.mp3\""});
    ConverterValues noOutput = base;
    noOutput.outputFolder.clear();
    cases.push_back({"no output folder writes beside the input", noOutput, "song.wav",
                     "--cbr -b 128 -m s -q 2 \"/in/song.wav\" \"/in/song.mp3\""});
    ConverterValues channelDefault = base;
    channelDefault.channel = "default";
    cases.push_back({"channel default", channelDefault, "s.wav", "--cbr -b 128 -m d -q 2 \"/in/s.wav\" \"/out/s.mp3\""});
    ConverterValues mono = base;
    mono.channel = "mono";
    mono.quality = "7 | Fast Mode ( very fast, ok quality )";
    cases.push_back({"mono downmixes", mono, "s.wav", "--cbr -b 128 -a -q 7 \"/in/s.wav\" \"/out/s.mp3\""});
    ConverterValues joint = base;
    joint.channel = "forced joint stereo";
    cases.push_back({"forced joint stereo", joint, "s.wav", "--cbr -b 128 -m f -q 2 \"/in/s.wav\" \"/out/s.mp3\""});
    ConverterValues variable = base;
    variable.bitrateMode = "Variable bitrate";
    variable.minBitrate = "96";
    variable.maxBitrate = "256";
    variable.vbrQuality = 10;
    cases.push_back({"variable bitrate 96/256/10", variable, "s.wav",
                     "--vbr-new -b 96 -B 256 -F -V 10 -m s -q 2 \"/in/s.wav\" \"/out/s.mp3\""});
    ConverterValues average = base;
    average.bitrateMode = "Average bitrate";
    average.avgBitrate = "192";
    cases.push_back({"average bitrate", average, "s.wav", "--abr 192 -m s -q 2 \"/in/s.wav\" \"/out/s.mp3\""});
    ConverterValues ogg = base;
    ogg.isLame = false;
    ogg.avgBitrate = "160";
    ogg.minBitrate = "96";
    ogg.maxBitrate = "256";
    cases.push_back({"Ogg Vorbis writes an .ogg file", ogg, "Song.Wav",
                     "-b 160 -m 96 -M 256 -o \"/out/song.ogg\" \"/in/Song.Wav\""});
    cases.push_back({"Ogg Vorbis cannot read MP3", ogg, "song.mp3", ""});
    return cases;
}

}  // namespace

TEST(EncoderCommandLine, CommandLinesOfTheRows) {
    for (const CommandCase& c : commandCases()) {
        SCOPED_TRACE(c.what);
        const auto command = EncoderCommandLine::forFile(c.values, c.fileName);
        if (c.text.empty()) {
            EXPECT_FALSE(command.has_value());
            continue;
        }
        ASSERT_TRUE(command.has_value());
        EXPECT_EQ(command->text, c.text);
        EXPECT_EQ(command->program, c.values.isLame ? "lame" : "oggenc");
        // The argument list is the text's words, with each path whole as one argument.
        std::string joined;
        for (const std::string& argument : command->arguments) {
            const bool isPath = argument.front() == '/';
            joined += (joined.empty() ? "" : " ") + (isPath ? '"' + argument + '"' : argument);
        }
        EXPECT_EQ(joined, c.text);
        const auto& arguments = command->arguments;
        EXPECT_EQ(command->outputPath, c.values.isLame ? arguments.back() : arguments[arguments.size() - 2]);
    }
}

TEST(EncoderCommandLine, TwoFilesEachGetOnlyTheirOwnPair) {
    const ConverterValues values = defaults();
    const auto first = EncoderCommandLine::forFile(values, "one.wav");
    const auto second = EncoderCommandLine::forFile(values, "two.mp3");
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->arguments, (std::vector<std::string>{"--cbr", "-b", "128", "-m", "s", "-q", "2", "/in/one.wav", "/out/one.mp3"}));
    EXPECT_EQ(second->arguments,
              (std::vector<std::string>{"--cbr", "-b", "128", "-m", "s", "-q", "2", "--decode", "/in/two.mp3", "/out/two.wav"}));
}

TEST(EncoderCommandLine, RateModesAndTypedTexts) {
    EXPECT_EQ(EncoderCommandLine::rateModeOf(true, "Constant bitrate"), EncoderCommandLine::Constant);
    EXPECT_EQ(EncoderCommandLine::rateModeOf(true, "Average bitrate"), EncoderCommandLine::Average);
    EXPECT_EQ(EncoderCommandLine::rateModeOf(true, "Variable bitrate"), EncoderCommandLine::Variable);
    EXPECT_EQ(EncoderCommandLine::rateModeOf(true, ""), EncoderCommandLine::Variable);
    EXPECT_EQ(EncoderCommandLine::rateModeOf(false, "Constant bitrate"), EncoderCommandLine::NotLame);

    ConverterValues typed = defaults();
    typed.channel = "xyz";
    typed.quality = "9 quick";
    EXPECT_EQ(EncoderCommandLine::optionsText(typed), "--cbr -b 128 -m x -q 9 ");
    typed.channel.clear();
    typed.quality.clear();
    EXPECT_EQ(EncoderCommandLine::optionsText(typed), "--cbr -b 128 ");
}

TEST(ProgramLookup, ProgramFolderFirstThenPath) {
    TempFolder temp;
    const std::string programFolder = temp.path() + "/program/";
    const std::string binFolder = temp.path() + "/bin";
    for (const std::string& folder : {programFolder, binFolder}) ::mkdir(folder.c_str(), 0755);
    const auto makeProgram = [](const std::string& path, mode_t mode) {
        std::ofstream(path) << "#!/bin/sh\n";
        ::chmod(path.c_str(), mode);
    };
    makeProgram(binFolder + "/lame", 0755);
    const std::string path = "/nonexistent::" + binFolder;
    EXPECT_EQ(ProgramLookup::find("lame", programFolder, path), binFolder + "/lame");

    makeProgram(programFolder + "lame", 0755);
    EXPECT_EQ(ProgramLookup::find("lame", programFolder, path), programFolder + "lame");

    makeProgram(binFolder + "/oggenc", 0644);  // not executable
    EXPECT_EQ(ProgramLookup::find("oggenc", programFolder, path), "");
    EXPECT_EQ(ProgramLookup::find("lame", "", ""), "");
}
