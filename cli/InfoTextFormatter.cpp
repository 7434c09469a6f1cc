#include "cli/InfoTextFormatter.h"

#include "base/TextFormat.h"
#include "splitjoin/PartType.h"

namespace {

std::string fileName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string typeLabel(const PartInfo& part) { return std::string(PartType::label(part.type)); }

std::string partText(const PartInfo& part) {
    return "Type: " + typeLabel(part) + "\n" + TextFormat::format("Flags: %u\nPart: %u\nCount: %u\n", part.flags, part.index, part.count) +
           "Name: " + part.name + "\n" +
           TextFormat::format("Data length: %llu\n", static_cast<unsigned long long>(part.dataLength)) +
           "Checksum: " + (part.checksumHolds ? "ok" : "wrong (damaged part, or wrong crypt key)") + "\n";
}

std::string mp3Text(const InfoFacts& facts) {
    const InfoFacts::TrackTexts& track = facts.track;
    std::string text = fileName(facts.path) + "\nTrack Info\n";
    text += "  Title: " + track.title + "\n  Artist: " + track.artist + "\n  Album: " + track.album + "\n";
    text += "  Year: " + track.year + "\n  Comment: " + track.comment + "\n";
    text += "  Genre: " + track.genre + "\n  Track: " + track.track + "\n";
    text += "MPEG Info\n";
    for (const std::string& line : facts.mpegInfo) text += "  " + line + "\n";
    return text + "Tags: " + facts.tagsCarried + "\n";
}

} // namespace

std::string InfoTextFormatter::format(const InfoFacts& facts, bool named) {
    const std::string name = named ? fileName(facts.path) + "\n" : "";
    switch (facts.kind) {
    case InfoFacts::Kind::Part: return name + partText(facts.part);
    case InfoFacts::Kind::Legacy: return name + "Type: " + typeLabel(facts.part) + "\nName: " + facts.part.name + "\n";
    case InfoFacts::Kind::Mp3: return mp3Text(facts);
    case InfoFacts::Kind::Failed: break;
    }
    return {};
}
