#include "base/ReplacingFile.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <regex>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void replaceWith(const std::string& target, const std::string& text) {
    ReplacingFile file;
    ASSERT_TRUE(file.create(target)) << file.errorNumber();
    file.file().write(text.data(), text.size());
    file.commit(false);
}

mode_t permissions(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

std::size_t entriesIn(const std::string& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

// A process of its own that has begun to replace a file and waits, as a join or a tag rewrite
// in the middle of its work; killed with SIGKILL it leaves its temporary file behind.
class Replacer {
public:
    explicit Replacer(const std::string& target) {
        int channel[2];
        if (::pipe(channel) != 0) throw std::runtime_error("no pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(channel[0]);
            ReplacingFile file;
            if (!file.create(target)) ::_exit(1);
            file.file().write("half", 4);
            const std::string& path = file.temporaryPath();
            if (::write(channel[1], path.data(), path.size()) < 0) ::_exit(1);
            ::close(channel[1]);
            for (;;) ::pause();
        }
        ::close(channel[1]);
        char buffer[4096];
        for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;) temporary_.append(buffer, static_cast<std::size_t>(got));
        ::close(channel[0]);
    }
    ~Replacer() { kill(); }
    void kill() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = 0;
    }
    const std::string& temporary() const { return temporary_; }

private:
    pid_t pid_ = 0;
    std::string temporary_;
};

// Dates a file seconds away from now (negative: into the past).
void touch(const std::string& path, long seconds) {
    const timespec when{std::time(nullptr) + seconds, 0};
    const timespec times[2] = {when, when};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

} // namespace

TEST(ReplacingFileTest, TheReplacedFileKeepsItsPermissions) {
    TempFolder folder;
    const std::string target = folder.file("private.m3u");
    FileBytes::writeText(target, "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    replaceWith(target, "new");
    EXPECT_EQ(FileBytes::readText(target), "new");
    EXPECT_EQ(permissions(target), 0640u);
}

TEST(ReplacingFileTest, ATargetReachedThroughALinkIsReplacedWhereItLies) {
    TempFolder folder;
    std::filesystem::create_directory(folder.file("music"));
    const std::string real = folder.file("music/song.mp3");
    const std::string link = folder.file("link.mp3");
    FileBytes::writeText(real, "old");
    std::filesystem::create_symlink(real, link);
    replaceWith(link, "new");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(FileBytes::readText(real), "new");
    EXPECT_EQ(entriesIn(folder.path()), 2u); // no temporary file left beside the link
}

TEST(ReplacingFileTest, ANameOfTheLongestLengthCanBeReplaced) {
    TempFolder folder;
    // 255 bytes, the most a file name may have; two-byte letters so the cut meets a character.
    std::string name;
    while (name.size() + 2 <= 251) name += "\xC3\xA4";
    name += ".mp3";
    const std::string target = folder.file(name);
    FileBytes::writeText(target, "old");
    replaceWith(target, "new");
    EXPECT_EQ(FileBytes::readText(target), "new");
    EXPECT_EQ(entriesIn(folder.path()), 1u);
}

TEST(ReplacingFileTest, TemporariesOfAKilledWriterAreRemovedThoseInUseStay) {
    TempFolder folder;
    const std::string target = folder.file("song.mp3");
    FileBytes::writeText(target, "old");

    // The killed writer starts after the working one: its own start already had to pass the
    // working one's temporary by.
    Replacer working(target);
    Replacer killed(target);
    ASSERT_TRUE(std::regex_match(killed.temporary(), std::regex(".*/\\.song\\.mp3\\.quarvel-[0-9a-f]{6}\\.tmp")))
        << killed.temporary();
    ASSERT_TRUE(FileBytes::exists(working.temporary()));
    killed.kill();
    // Both were written before this process started, as far as their dates tell; only the lock
    // of the live one tells them apart.
    touch(killed.temporary(), -3600);
    touch(working.temporary(), -3600);
    // Named like a temporary but newer than this process: it may be one being created right now.
    const std::string fresh = folder.file(".song.mp3.quarvel-00abcd.tmp");
    FileBytes::writeText(fresh, "fresh");
    touch(fresh, 3600);
    // Old and unlocked, but of another target, or not quite our name.
    const std::string other = folder.file(".other.mp3.quarvel-00abcd.tmp");
    const std::string unlike = folder.file(".song.mp3.quarvel-00abcd.tmp.bak");
    for (const std::string& path : {other, unlike}) {
        FileBytes::writeText(path, "keep");
        touch(path, -3600);
    }

    replaceWith(target, "new");
    EXPECT_EQ(FileBytes::readText(target), "new");
    EXPECT_FALSE(FileBytes::exists(killed.temporary()));
    for (const std::string& path : {working.temporary(), fresh, other, unlike}) EXPECT_TRUE(FileBytes::exists(path)) << path;

    // Once its writer is gone, the next replacement removes that one too.
    working.kill();
    replaceWith(target, "newer");
    EXPECT_FALSE(FileBytes::exists(working.temporary()));
    EXPECT_EQ(entriesIn(folder.path()), 4u); // the target, fresh, other and unlike

    // A split lists its folder once for all its parts: abandoned temporaries of any target go.
    ReplacingFile::removeAbandonedIn(folder.path());
    EXPECT_FALSE(FileBytes::exists(other));
    for (const std::string& path : {target, fresh, unlike}) EXPECT_TRUE(FileBytes::exists(path)) << path;
}

TEST(ReplacingFileTest, ADeviceOrFolderIsNotReplaced) {
    TempFolder folder;
    std::filesystem::create_directory(folder.file("folder"));
    ReplacingFile file;
    EXPECT_FALSE(file.create(folder.file("folder")));
    EXPECT_EQ(file.errorNumber(), EISDIR);
    if (FileBytes::exists("/dev/null")) {
        std::filesystem::create_symlink("/dev/null", folder.file("null"));
        ReplacingFile device;
        EXPECT_FALSE(device.create(folder.file("null")));
        EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    }
    EXPECT_EQ(entriesIn(folder.path()), 2u);
}
