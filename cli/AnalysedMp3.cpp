#include "cli/AnalysedMp3.h"

#include "metadata/GenreTable.h"

AnalysedMp3::AnalysedMp3(MessageBoxSink& messages) : tags_(messages) { xanalyzer_new(&handle_); }

AnalysedMp3::~AnalysedMp3() {
    if (handle_) xanalyzer_delete(handle_);
    tags_.Release();
}

int AnalysedMp3::analyse(const std::string& path, int flags) {
    const int result = xanalyzer_process_file(handle_, path.c_str(), flags, 0, &info_, 0, 0, 0);
    if (result != 0) return result;
    tags_.Release();
    tags_.Reset();
    presence_ = tags_.DetectTags(path);
    const bool v2 = presence_ == TagPresence::V2Only || presence_ == TagPresence::Both;
    tags_.SetMode(v2 ? TagMode::ModeV2 : TagMode::ModeV1);
    tags_.Read(path);
    return 0;
}

std::string AnalysedMp3::genreName() const { return std::string(GenreTable::name(info_.genre)); }

std::string AnalysedMp3::tagsCarried() const {
    switch (presence_) {
    case TagPresence::Both: return "ID3v1 and ID3v2";
    case TagPresence::V1Only: return "ID3v1";
    case TagPresence::V2Only: return "ID3v2";
    case TagPresence::None: break;
    }
    return "none";
}
