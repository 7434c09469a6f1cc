// libFuzzer target for the joiner and the part readers behind it ("CCode" parts, OLD and ENC
// files). The input becomes up to four files of one set, one of them is picked and joined into
// an output folder. A join that reports success must have written exactly the payloads of the
// set's parts (deciphered, in order) or the untransposed OLD/ENC payload; a join that fails
// must leave nothing behind and change no input file.
//
// Input layout: a control byte, then (when bit 2 is set) a key length byte and the key, then
// the files, separated by "#PART#".
//   bit 0  geo naming (in00.ppt, in01.ppt, ...) instead of classic naming (in.s00, in.s01, ...)
//   bit 1  delete the parts after a successful join
//   bit 2  a user key follows
//   bit 3  the output goes into the folder of the parts
//   bits 4-5  which file is picked

#include "base/FileError.h"
#include "base/MessageBoxSink.h"
#include "base/StatusSink.h"
#include "fuzz/FuzzScratch.h"
#include "splitjoin/CCode.h"
#include "splitjoin/Joiner.h"
#include "splitjoin/LegacyPart.h"
#include "splitjoin/PartNaming.h"
#include "splitjoin/PartType.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

struct Quiet : StatusSink, MessageBoxSink {
    void setStatus(const std::string&) override {}
    void showStopBox(const std::string&) override {}
};

struct Setup {
    bool geo = false;
    bool autoDelete = false;
    bool outputBesideParts = false;
    std::size_t picked = 0;
    std::string key;
    std::vector<std::string_view> files;
};

Setup parse(std::string_view input) {
    Setup setup;
    if (input.empty()) return setup;
    const auto control = static_cast<std::uint8_t>(input[0]);
    input.remove_prefix(1);
    setup.geo = control & 1;
    setup.autoDelete = control & 2;
    setup.outputBesideParts = control & 8;
    if ((control & 4) && !input.empty()) {
        const std::size_t length = std::min<std::size_t>(static_cast<std::uint8_t>(input[0]) % 11, input.size() - 1);
        setup.key = std::string(input.substr(1, length));
        input.remove_prefix(1 + length);
    }
    setup.files = FuzzScratch::split(input, "#PART#", 4);
    setup.picked = ((control >> 4) & 3) % setup.files.size();
    return setup;
}

std::uint32_t field(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

std::string effectiveKey(const std::string& userKey) {
    return userKey.empty() ? std::string(CCode::DefaultPartKey) : std::string(CCode::KeyPrefix) + userKey;
}

// The plain data of part `index` as the file format defines it, worked out here on its own.
std::string expectedPartData(const std::string& bytes, std::uint32_t index, const std::string& userKey) {
    static const std::string classRecord("\xFF\xFF\x00\x00\x05\x00" "CCode", 11);
    FUZZ_CHECK(bytes.size() >= CCode::HeaderSize);
    FUZZ_CHECK(bytes.compare(0, classRecord.size(), classRecord) == 0);
    FUZZ_CHECK(field(bytes, 11) == index);
    const std::uint32_t checksum = field(bytes, 19);
    const std::uint32_t flags = field(bytes, 23);
    const std::uint32_t dataLength = field(bytes, 31);
    FUZZ_CHECK(dataLength != 0 && dataLength < bytes.size());
    FUZZ_CHECK(bytes.size() - CCode::HeaderSize >= dataLength);
    std::string data = bytes.substr(CCode::HeaderSize, dataLength);
    if (flags & CCode::DataEnciphered) {
        const std::string key = effectiveKey(userKey);
        for (std::size_t i = 0; i < data.size(); ++i) data[i] ^= key[i % key.size()];
    }
    std::uint32_t sum = 0;
    for (char byte : data) sum += static_cast<std::uint8_t>(byte);
    FUZZ_CHECK(sum == checksum);
    return data;
}

// An OLD or ENC payload is the source written column by column: transposing the output again
// must give the payload back.
void checkLegacyOutput(const std::string& file, int partType, const std::string& output) {
    std::size_t payloadAt = LegacyPart::OldHeaderSize;
    if (partType == PartType::Old) {
        FUZZ_CHECK(file.size() >= 8 && file.compare(1, 7, "abcdef2") == 0);
    } else {
        FUZZ_CHECK(file.size() >= LegacyPart::EncHeaderSize && file.compare(0, 4, "ENC ") == 0);
        payloadAt = LegacyPart::EncHeaderSize;
        for (std::size_t i = 18; i < 22; ++i) payloadAt += static_cast<std::uint8_t>(file[i]);
        for (std::size_t i = 22; i < 26; i += 2)
            payloadAt += static_cast<std::uint8_t>(file[i]) | static_cast<std::uint8_t>(file[i + 1]) << 8;
    }
    FUZZ_CHECK(payloadAt <= file.size());
    FUZZ_CHECK(output.size() == file.size() - payloadAt);
    std::string transposed;
    for (std::size_t column : LegacyPart::columnOrder())
        for (std::size_t position = column; position < output.size(); position += LegacyPart::Columns)
            transposed.push_back(output[position]);
    FUZZ_CHECK(transposed == file.substr(payloadAt));
}

// The paths of the set that was joined, as the joiner names them.
std::vector<std::string> joinedSet(const Joiner& joiner) {
    const JoinValues& values = joiner.values();
    if (PartType::isLegacy(values.partType)) return {values.inputPart};
    std::vector<std::string> paths;
    for (std::uint32_t i = 0; i < values.partCount; ++i)
        paths.push_back(PartNaming::partPath(values.inputPart, i, PartType::usesGeoNaming(values.partType)));
    return paths;
}

void checkSuccess(const Joiner& joiner, const std::map<std::string, std::string>& written, const std::string& output) {
    const JoinValues& values = joiner.values();
    const std::vector<std::string> set = joinedSet(joiner);
    FUZZ_CHECK(!set.empty());
    for (const std::string& path : set) FUZZ_CHECK(written.count(path) == 1);
    if (PartType::isLegacy(values.partType)) {
        checkLegacyOutput(written.at(set.front()), values.partType, output);
        return;
    }
    std::string expected;
    for (std::uint32_t i = 0; i < set.size(); ++i)
        expected += expectedPartData(written.at(set[i]), i, values.userKey);
    FUZZ_CHECK(output == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Setup setup = parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (setup.files.empty()) return 0;
    const std::string root = FuzzScratch::freshFolder("joiner");
    const std::string partsFolder = root + "/parts";
    const std::string outputFolder = setup.outputBesideParts ? partsFolder : root + "/output";
    std::filesystem::create_directories(partsFolder);
    std::filesystem::create_directories(outputFolder);

    const std::string first = partsFolder + (setup.geo ? "/in00.ppt" : "/in.s00");
    std::map<std::string, std::string> written;
    for (std::size_t i = 0; i < setup.files.size(); ++i) {
        const std::string path = PartNaming::partPath(first, i, setup.geo);
        written[path] = std::string(setup.files[i]);
        FuzzScratch::write(path, setup.files[i]);
    }

    Quiet quiet;
    Joiner joiner(quiet, quiet);
    joiner.values().userKey = setup.key;
    joiner.values().outputFolder = outputFolder;
    joiner.values().autoDelete = setup.autoDelete;
    bool joined = false;
    try {
        joiner.PickPart(PartNaming::partPath(first, setup.picked, setup.geo));
        joined = joiner.Join();
    } catch (const FileError&) {
        joined = false;
    }

    // What must lie in the folders now: every input untouched (less the deleted parts), and
    // the output only after a success; never a temporary file.
    std::map<std::string, std::string> expected = written;
    const std::string output = joiner.outputPath();
    if (joined) {
        FUZZ_CHECK(FuzzScratch::exists(output));
        const std::string joinedBytes = FuzzScratch::read(output);
        checkSuccess(joiner, written, joinedBytes);
        if (setup.autoDelete)
            for (const std::string& path : joinedSet(joiner)) expected.erase(path);
        expected[output] = joinedBytes;
    }
    std::vector<std::string> present;
    for (const std::string& name : FuzzScratch::filesUnder(root)) present.push_back(root + "/" + name);
    std::vector<std::string> wanted;
    for (const auto& [path, bytes] : expected) wanted.push_back(path);
    FUZZ_CHECK(present == wanted);
    for (const auto& [path, bytes] : expected) FUZZ_CHECK(FuzzScratch::read(path) == bytes);
    return 0;
}
