#include "cli/AnalysedMp3.h"

#include "metadata/GenreTable.h"

AnalysedMp3::AnalysedMp3(MessageBoxSink& messages) : tagTexts_(messages) {
    if (xanalyzer_new(&handle_) == 0) xanalyzer_set_tag_source(handle_, &tagTexts_);
}

AnalysedMp3::~AnalysedMp3() {
    if (handle_) xanalyzer_delete(handle_);
}

int AnalysedMp3::analyse(const std::string& path, int flags) {
    return xanalyzer_process_file(handle_, path.c_str(), flags, 0, &info_, 0, 0, 0);
}

std::string AnalysedMp3::genreName() const {
    return std::string(GenreTable::shownName(info_.genre, tagTexts_.tags().GenreText()));
}

std::string AnalysedMp3::tagsCarried() const {
    switch (presence()) {
    case TagPresence::Both: return "ID3v1 and ID3v2";
    case TagPresence::V1Only: return "ID3v1";
    case TagPresence::V2Only: return "ID3v2";
    case TagPresence::None: break;
    }
    return "none";
}
