#pragma once

#include "base/MessageBoxSink.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class FileHandle;
class ReplacingFile;

enum class TagPresence : int { None = 0, V1Only = 13000, V2Only = 14000, Both = 15000 };
enum class TagMode : int { Unset = 0, ModeV1 = 12000, ModeV2 = 19990 };

// Which tags a write put into the file.
struct TagsWritten {
    bool v1 = false;
    bool v2 = false;
    bool any() const { return v1 || v2; }
    // The status line the Player and quarvel-cli show for it.
    const char* statusText() const;
};

// The tag texts of one audio file, moved between the file and the program: the ID3v1 tag at the
// end of the file is read and written in place; an ID3v2 tag at the start is read and, when the
// file carries one, written anew by rewriting the file through a temporary file beside it.
// Texts are UTF-8. Frames of the ID3v2 tag that this class does not edit are carried into the
// rewritten tag byte for byte.
class CID3TagFile {
public:
    explicit CID3TagFile(MessageBoxSink& messages);
    CID3TagFile(const CID3TagFile&) = delete;
    CID3TagFile& operator=(const CID3TagFile&) = delete;
    virtual ~CID3TagFile() = default;

    // Reads the file's tags afresh through one open of the file: Release and Reset, then which
    // tags it carries (Presence), then the ID3v2 tag when it has one, else the ID3v1 tag (Mode).
    // False when no tag could be read.
    bool ReadTags(const std::string& path);
    bool ReadTags(FileHandle& file);

    void Release();
    void Reset();
    TagPresence DetectTags(const std::string& path);
    void SetMode(TagMode mode) { mode_ = mode; }
    bool Read(const std::string& path);
    // As Read, from a file open for reading (at any position).
    bool Read(FileHandle& file);
    // The payload of the first frame with this id behind the cursor (relative to the frames
    // area), its encoding byte included; the cursor moves behind the frame found.
    std::optional<std::string> FindFrame(std::string_view id, std::size_t* cursor = nullptr) const;
    bool IsEditable() const;

    void SetArtist(std::string text) { artist_ = std::move(text); }
    void SetAlbum(std::string text) { album_ = std::move(text); }
    void SetTitle(std::string text) { title_ = std::move(text); }
    void SetComment(std::string text) { comment_ = std::move(text); }
    void SetYear(std::string text) { year_ = std::move(text); }
    void SetTrack(std::string text) { track_ = std::move(text); }
    void SetGenreText(std::string text) { genreText_ = std::move(text); }
    void SetGenreNumber(int number) { genreNumber_ = number; }

    // The new ID3v2 tag (NewTagLength bytes count), or null when the file gets none.
    const std::vector<std::uint8_t>* BuildV2();
    // Writes the texts into the file: a file with an ID3v2 tag is rewritten once with the new
    // ID3v2 tag and the new ID3v1 tag; any other file gets its ID3v1 tag in place. Either every
    // tag is written or the file is left as it was (a message box says why).
    TagsWritten WriteTags();
    bool WriteV2();
    // A failed write puts the file's old bytes back; a message box says whether that worked.
    bool WriteV1();
    void LocateAudio(const std::string& path, std::uint64_t start);

    const std::string& Artist() const { return artist_; }
    const std::string& Album() const { return album_; }
    const std::string& Title() const { return title_; }
    const std::string& Comment() const { return comment_; }
    const std::string& Year() const { return year_; }
    const std::string& Track() const { return track_; }
    const std::string& GenreText() const { return genreText_; }
    int GenreNumber() const { return genreNumber_; }
    const std::string& Length() const { return length_; }
    const std::string& FileType() const { return fileType_; }
    const std::string& InitialKey() const { return initialKey_; }
    const std::string& PlayCounter() const { return playCounter_; }
    const std::string& Position() const { return position_; }
    TagPresence Presence() const { return presence_; }
    TagMode Mode() const { return mode_; }
    std::uint32_t TagSize() const { return tagSize_; }
    std::uint64_t AudioStart() const { return audioStart_; }
    const std::string& Path() const { return path_; }
    std::uint32_t NewTagLength() const { return newTagLength_; }
    // Major version of the ID3v2 tag read (2, 3 or 4; 0 when none was read). A 2.2 tag is read
    // but never rewritten: a write gives such a file its ID3v1 tag only.
    int TagVersion() const { return tagVersion_; }

protected:
    // Gives the finished temporary file the tag file's name.
    virtual void replaceFile(ReplacingFile& file);

private:
    struct FrameSpan {
        std::size_t at;   // header offset in the frames area
        std::size_t size; // payload bytes
    };
    TagPresence detectTags(FileHandle& file);
    void locateAudio(FileHandle& file, std::uint64_t start);
    std::optional<FrameSpan> frameAt(std::size_t position) const;
    std::string payloadOf(const FrameSpan& frame) const;
    void loadFramesArea();
    void loadV22Frames();
    void takeV1Edits(FileHandle& file);
    void readFrames();
    void readComment();
    void readYear();
    std::string commentLanguage() const;
    void readV1(FileHandle& file);
    void readV2(FileHandle& file);
    void addFrame(std::string_view id, std::uint8_t encoding, std::string_view data);
    void addCarriedFrame(std::vector<std::uint8_t> frame);
    void writeTagHeader();
    bool rewrite(bool withV1);
    void copyAudioWithV1(FileHandle& source, FileHandle& target, bool withV1);
    std::array<std::uint8_t, 128> buildV1() const;
    bool restoreEnd(std::uint64_t size, std::uint64_t offset, const std::array<std::uint8_t, 128>& old);

    MessageBoxSink& messages_;
    std::string artist_, album_, title_, comment_, year_, track_, genreText_;
    int genreNumber_ = 0;
    std::string length_, fileType_, initialKey_, playCounter_, position_;
    std::vector<std::uint8_t> tagData_;
    std::vector<std::uint8_t> framesArea_;
    std::vector<std::uint8_t> newTag_;
    std::uint32_t newTagLength_ = 0;
    std::uint32_t newTagWritePos_ = 0;
    std::array<std::uint8_t, 10> header_{};
    std::array<std::uint8_t, 4> audioMagic_{};
    bool valid_ = false;
    TagPresence presence_ = TagPresence::None;
    TagMode mode_ = TagMode::Unset;
    std::uint32_t tagSize_ = 0;
    int tagVersion_ = 0;
    bool tagUnsynchronised_ = false;
    std::optional<std::size_t> commentFrameAt_;
    std::string commentLanguage_;
    std::string yearFrame_; // the frame the year was read from
    std::uint64_t audioStart_ = 0;
    std::string path_;
};
