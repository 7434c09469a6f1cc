#include "cli/InfoJsonFormatter.h"

#include "cli/JsonObject.h"
#include "splitjoin/PartType.h"

namespace {

void addPart(JsonObject& object, const PartInfo& part) {
    object.text("type", PartType::label(part.type))
        .number("flags", part.flags)
        .number("part", part.index)
        .number("count", part.count)
        .text("name", part.name)
        .number("dataLength", static_cast<std::int64_t>(part.dataLength))
        .flag("checksumHolds", part.checksumHolds);
}

const char* pick(const char* const* table, int count, int index) {
    return index >= 0 && index < count ? table[index] : "unknown";
}

// The analyser record's numbers, with the same names for level and mode as the tree's texts.
JsonObject streamObject(const XA_AnalyzerInfo& stream) {
    static const char* const levels[] = {"MPEG 2.5", "MPEG 1", "MPEG 2"};
    static const char* const modes[] = {"stereo", "joint-stereo", "dual-channel", "single-channel"};
    static const char* const properties[] = {"level", "layer", "bitrate", "frequency", "mode", "channels"};
    JsonObject constant;
    for (int bit = 0; bit < 6; ++bit) constant.flag(properties[bit], ((stream.variations >> bit) & 1) == 0);
    JsonObject object;
    object.text("level", pick(levels, 3, stream.level))
        .number("layer", stream.layer)
        .number("bitrate", stream.bitrate)
        .number("frequency", stream.frequency)
        .text("mode", pick(modes, 4, stream.mode))
        .number("channels", stream.channels)
        .number("frames", stream.frames)
        .number("durationMs", stream.duration)
        .object("constant", constant);
    return object;
}

void addMp3(JsonObject& object, const InfoFacts& facts) {
    const InfoFacts::TrackTexts& track = facts.track;
    JsonObject trackObject;
    trackObject.text("title", track.title)
        .text("artist", track.artist)
        .text("album", track.album)
        .text("year", track.year)
        .text("comment", track.comment)
        .text("genre", track.genre)
        .text("track", track.track);
    object.text("type", "MP3")
        .object("track", trackObject)
        .object("mpeg", streamObject(facts.stream))
        .texts("mpegInfo", facts.mpegInfo)
        .text("tags", facts.tagsCarried);
}

} // namespace

std::string InfoJsonFormatter::format(const InfoFacts& facts) {
    JsonObject object;
    object.text("file", facts.path);
    switch (facts.kind) {
    case InfoFacts::Kind::Part: addPart(object, facts.part); break;
    case InfoFacts::Kind::Legacy: object.text("type", PartType::label(facts.part.type)).text("name", facts.part.name); break;
    case InfoFacts::Kind::Mp3: addMp3(object, facts); break;
    case InfoFacts::Kind::Failed: object.text("error", facts.error); break;
    }
    return object.str();
}
