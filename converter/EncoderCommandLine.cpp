#include "converter/EncoderCommandLine.h"

#include <algorithm>

EncoderCommandLine::RateMode EncoderCommandLine::rateModeOf(bool isLame, const std::string& bitrateModeText) {
    if (!isLame) return NotLame;
    if (bitrateModeText.find("Average") != std::string::npos) return Average;
    if (bitrateModeText.find("Constant") != std::string::npos) return Constant;
    return Variable;
}

std::vector<std::string> EncoderCommandLine::optionArguments(const ConverterValues& values) {
    if (!values.isLame) return {"-b", values.avgBitrate, "-m", values.minBitrate, "-M", values.maxBitrate};
    std::vector<std::string> arguments;
    switch (rateModeOf(true, values.bitrateMode)) {
    case Constant:
        arguments = {"--cbr", "-b", values.minBitrate};
        break;
    case Average:
        arguments = {"--abr", values.avgBitrate};
        break;
    default:
        arguments = {"--vbr-new", "-b", values.minBitrate, "-B", values.maxBitrate, "-F", "-V",
                     std::to_string(values.vbrQuality)};
        break;
    }
    // A typed Channel or Quality text gives its first character, whatever it is; an empty text
    // leaves the option to the encoder's default.
    if (values.channel == "mono") {
        arguments.emplace_back("-a");
    } else if (!values.channel.empty()) {
        arguments.insert(arguments.end(), {"-m", values.channel.substr(0, 1)});
    }
    if (!values.quality.empty()) arguments.insert(arguments.end(), {"-q", values.quality.substr(0, 1)});
    return arguments;
}

std::string EncoderCommandLine::optionsText(const ConverterValues& values) {
    std::string text;
    for (const std::string& argument : optionArguments(values)) text += argument + ' ';
    return text;
}

std::optional<EncoderCommand> EncoderCommandLine::forFile(const ConverterValues& values, const std::string& fileName) {
    // Detection and the output name use the lower-cased name; the input keeps the real name.
    const std::string lowerName = lowerCase(fileName);
    const std::size_t wav = lowerName.find(".wav");
    const std::size_t mp3 = lowerName.find(".mp3");
    const bool decode = wav == std::string::npos;
    if (decode && (mp3 == std::string::npos || !values.isLame)) return std::nullopt;

    // No Save Dir: the output goes beside the input rather than into the root folder.
    const std::string outputFolder = withSeparator(values.outputFolder.empty() ? values.inputFolder : values.outputFolder);
    const std::string inputPath = withSeparator(values.inputFolder) + fileName;
    const std::string extension = decode ? ".wav" : (values.isLame ? ".mp3" : ".ogg");
    const std::string outputPath = outputFolder + lowerName.substr(0, decode ? mp3 : wav) + extension;

    EncoderCommand command;
    command.program = values.isLame ? LameProgram : OggProgram;
    command.arguments = optionArguments(values);
    command.text = optionsText(values);
    command.outputPath = outputPath;
    if (!values.isLame) {
        command.arguments.insert(command.arguments.end(), {"-o", outputPath, inputPath});
        command.text += "-o " + quoted(outputPath) + ' ' + quoted(inputPath);
        return command;
    }
    if (decode) {
        command.arguments.emplace_back("--decode");
        command.text += "--decode ";
    }
    command.arguments.insert(command.arguments.end(), {inputPath, outputPath});
    command.text += quoted(inputPath) + ' ' + quoted(outputPath);
    return command;
}

std::string EncoderCommandLine::withSeparator(const std::string& folder) {
    if (folder.empty() || folder.back() == '/') return folder;
    return folder + '/';
}

std::string EncoderCommandLine::lowerCase(const std::string& text) {
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

std::string EncoderCommandLine::quoted(const std::string& path) { return '"' + path + '"'; }
