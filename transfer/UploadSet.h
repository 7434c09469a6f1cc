#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The local files of one upload: every part of the set that a picked part belongs to, in order,
// then the set's download page when it lies beside part 0.
//
// Each part is checked for what can be seen without the crypt key (a part header, its own number,
// the set's count, flags and name, the length the header announces), so that an incomplete or
// mixed set is not sent at all; the checksums are the joiner's business at the far end.
class UploadSet {
public:
    struct File {
        std::string path;
        std::string name; // the name it gets on the server: the local file name
        std::uint64_t size = 0;
    };

    // Empty, with `problem` set to a message for the user, when the picked file is no part or a
    // part of its set is missing, unreadable or from another set. Reads only.
    static std::optional<UploadSet> find(const std::string& pickedPath, std::string& problem);

    const std::vector<File>& files() const { return files_; }
    std::uint64_t totalSize() const;

private:
    std::vector<File> files_;
};
