// Every write, sync, truncation, copy, close and rename that an operation makes in the user's
// folder is failed in turn, with EIO and with ENOSPC, by the fault-injection library; after each
// run the operation must have failed visibly (or done its whole work), left every byte of the
// user's files as it was and no temporary file behind.
#include "support/CliRun.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <regex>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Files = std::map<std::string, Bytes>; // name in the folder -> content

Files filesIn(const std::string& folder) {
    Files files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[entry.path().filename().string()] = entry.is_regular_file() ? FileBytes::read(entry.path().string()) : Bytes();
    return files;
}

void putFiles(const std::string& folder, const Files& files) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) std::filesystem::remove_all(entry.path());
    for (const auto& [name, bytes] : files) FileBytes::write(folder + "/" + name, bytes);
}

std::string cli() {
    const char* path = std::getenv("QUARVEL_CLI");
    return path ? path : "";
}

// One operation run in a folder that holds `initial` before every run.
struct Operation {
    std::string program;
    std::vector<std::string> arguments;
    Files initial;
    Files done; // the folder after a successful run
    // Where a successful run's files differ from run to run: how to check them.
    std::function<void(const Files& after)> checkDone = {};
    // What a failed run may add.
    std::function<void(const Files& after, const CliRun& run)> checkPartial = {};
};

class FaultSweep : public ::testing::Test {
protected:
    struct Faulted {
        CliRun run;
        std::string fault; // the call that was failed; empty when the run reached no Nth call
    };

    Faulted runWithFault(const Operation& operation, long n, const char* error) {
        const std::string report = reports.file("fault");
        std::filesystem::remove(report);
        Faulted result;
        result.run = CliRun::runProgram(operation.program, operation.arguments,
                                        {"LD_PRELOAD=" QUARVEL_FAULTS_LIBRARY, "QUARVEL_FAULT_DIR=" + folder.path(),
                                         "QUARVEL_FAULT_AT=" + std::to_string(n), std::string("QUARVEL_FAULT_ERRNO=") + error,
                                         "QUARVEL_FAULT_REPORT=" + report});
        if (FileBytes::exists(report)) result.fault = FileBytes::readText(report);
        return result;
    }

    // Fails the first, second, ... counted call until a run passes all of them.
    void sweep(const Operation& operation) {
        for (const char* error : {"EIO", "ENOSPC"}) {
            bool finished = false;
            for (long n = 1; n <= 200 && !finished; ++n) {
                putFiles(folder.path(), operation.initial);
                const Faulted faulted = runWithFault(operation, n, error);
                const CliRun& run = faulted.run;
                const Files after = filesIn(folder.path());
                SCOPED_TRACE(std::string(error) + " at call " + std::to_string(n) + ": " + faulted.fault + run.err);
                for (const auto& [name, bytes] : after)
                    EXPECT_NE(name.front(), '.') << "temporary file left: " << name;
                finished = faulted.fault.empty();
                if (run.exitCode == 0) {
                    // Done without a fault, or the failed call did no harm: the whole work is there.
                    if (operation.checkDone)
                        operation.checkDone(after);
                    else
                        EXPECT_EQ(after, operation.done);
                    continue;
                }
                EXPECT_FALSE(finished) << "failed without a fault";
                EXPECT_EQ(run.exitCode, 1);
                EXPECT_FALSE(run.err.empty());
                for (const auto& [name, bytes] : operation.initial) {
                    const auto kept = after.find(name);
                    EXPECT_TRUE(kept != after.end() && kept->second == bytes) << name << " changed";
                }
                if (operation.checkPartial) {
                    operation.checkPartial(after, run);
                } else {
                    EXPECT_EQ(after.size(), operation.initial.size()) << "a failed run added a file";
                }
            }
            EXPECT_TRUE(finished) << error << ": still failing after 200 calls";
        }
    }

    // Runs the operation without faults in a folder of its own: the folder it leaves.
    Files doneWithoutFaults(Operation operation) {
        TempFolder reference;
        putFiles(reference.path(), operation.initial);
        for (std::string& argument : operation.arguments)
            if (argument.rfind(folder.path(), 0) == 0) argument = reference.path() + argument.substr(folder.path().size());
        const CliRun run = CliRun::runProgram(operation.program, operation.arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return filesIn(reference.path());
    }

    TempFolder folder;
    TempFolder reports;
};

// Every split draws new filler bytes for its headers: a part is checked by its size, its index
// and the checksum of its data.
void expectCompletePart(const std::string& path, const Files& after, const Files& done, std::size_t index) {
    const std::string name = path.substr(path.rfind('/') + 1);
    ASSERT_TRUE(after.count(name)) << name << " missing";
    EXPECT_EQ(after.at(name).size(), done.at(name).size()) << name;
    const CliRun info = CliRun::run({"info", path});
    EXPECT_NE(info.out.find("Part: " + std::to_string(index) + "\n"), std::string::npos) << name << "\n" << info.out;
    EXPECT_NE(info.out.find("Checksum: ok\n"), std::string::npos) << name << "\n" << info.out;
}

TEST_F(FaultSweep, Split) {
    Operation split{cli(), {"split", folder.file("song.bin"), "--bytes", "1000", "--name", "x00.ppt"},
                    {{"song.bin", FileBytes::pattern(3000, 3)}, {"keep.txt", {'k'}}}};
    split.done = doneWithoutFaults(split);
    ASSERT_EQ(split.done.size(), 6u); // four parts
    auto part = [this](std::size_t i) { return folder.file("x0" + std::to_string(i) + ".ppt"); };
    split.checkDone = [&](const Files& after) {
        EXPECT_EQ(after.size(), split.done.size());
        for (std::size_t i = 0; i < 4; ++i) expectCompletePart(part(i), after, split.done, i);
    };
    // Parts written before the failure stay, each complete; the message counts them.
    split.checkPartial = [&](const Files& after, const CliRun& run) {
        const std::size_t complete = after.size() - split.initial.size();
        for (std::size_t i = 0; i < complete; ++i) expectCompletePart(part(i), after, split.done, i);
        std::smatch count;
        if (std::regex_search(run.err, count, std::regex("(\\d+) parts were written completely")))
            EXPECT_EQ(count[1], std::to_string(complete));
        else
            EXPECT_EQ(complete, 0u) << "the message does not say how many parts were written";
    };
    sweep(split);
}

TEST_F(FaultSweep, JoinOverAnExistingFile) {
    TempFolder parts;
    const Bytes source = FileBytes::pattern(2500, 4);
    FileBytes::write(parts.file("song.bin"), source);
    ASSERT_EQ(CliRun::run({"split", parts.file("song.bin"), "--bytes", "1000", "--crypt-data"}).exitCode, 0);
    std::filesystem::remove(parts.file("song.bin"));
    Operation join{cli(), {"join", folder.file("song01.ppt")}, filesIn(parts.path())};
    join.initial["song.bin"] = Bytes{'o', 'l', 'd'};
    join.done = join.initial;
    join.done["song.bin"] = source;
    sweep(join);
}

TEST_F(FaultSweep, TagWrite) {
    // An ID3v2 tag rewritten through a new file (and the ID3v1 tag in it), an ID3v1 tag
    // overwritten in place, and one appended to a file without tags.
    for (const char* fixture : {"cbr128.mp3", "mono64.mp3", "layer2.mp2"}) {
        SCOPED_TRACE(fixture);
        Operation tag{cli(), {"tag", folder.file(fixture), "--title", "Fault sweep", "--track", "7"},
                      {{fixture, FileBytes::read(std::string(QUARVEL_FIXTURES "/mpeg/") + fixture)}}};
        tag.done = doneWithoutFaults(tag);
        ASSERT_NE(tag.done, tag.initial);
        sweep(tag);
    }
}

TEST_F(FaultSweep, PlaylistSave) {
    Operation save{QUARVEL_PLAYLIST_SAVE_TOOL,
                   {folder.file("list.m3u"), folder.path(), folder.file("a.mp3"), "http://radio.example/live.mp3"},
                   {{"list.m3u", {'o', 'l', 'd', '\r', '\n'}}}};
    const std::string text = "a.mp3\r\nhttp://radio.example/live.mp3\r\n";
    save.done = {{"list.m3u", Bytes(text.begin(), text.end())}};
    sweep(save);
}

} // namespace
