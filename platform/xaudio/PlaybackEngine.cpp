#include "platform/xaudio/PlaybackEngine.h"

#include "platform/xaudio/XA_Codes.h"
#include "platform/xaudio/XaudioPlayback.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

bool isStreamLocation(const std::string& location) {
    return location.compare(0, 7, "http://") == 0 || location.compare(0, 8, "https://") == 0;
}

bool validLevel(std::optional<long long> value) {
    return value && ((*value >= 0 && *value <= 100) || *value == XA::KeepLevel);
}

} // namespace

PlaybackEngine::PlaybackEngine(XA_NotificationSink* sink) : sink_(sink) {
    thread_ = std::thread([this] { run(); });
}

PlaybackEngine::~PlaybackEngine() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void PlaybackEngine::send(XA_Command command) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(command));
    }
    wake_.notify_all();
}

void PlaybackEngine::wake() {
    {
        std::lock_guard lock(mutex_);
    }
    wake_.notify_all();
}

void PlaybackEngine::run() {
    notify(XA_Message(XA::Ready));
    std::deque<XA_Command> commands;
    for (;;) {
        const bool goOn = waitForWork(commands);
        for (const XA_Command& command : commands) execute(command);
        commands.clear();
        if (!goOn) break;
        if (wantsToDecode()) decodeStep();
    }
    closeInput();
    output_.close();
}

bool PlaybackEngine::waitForWork(std::deque<XA_Command>& commands) {
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [&] { return quit_ || !queue_.empty() || wantsToDecode(); });
    commands.swap(queue_); // commands sent before the player was deleted still run
    return !quit_;
}

bool PlaybackEngine::wantsToDecode() const {
    if (state_ != XA::Playing || !decoder_.isOpen()) return false;
    if (!stream_ || !needStreamData_) return true;
    const HttpStream::Status status = stream_->status();
    return stream_->hasData() || status == HttpStream::Status::Finished || status == HttpStream::Status::Failed ||
           (status == HttpStream::Status::Connected && !connectedReported_);
}

// ---- commands

void PlaybackEngine::execute(const XA_Command& command) {
    switch (command.code) {
    case XA::Play: return play();
    case XA::Pause: return pause();
    case XA::Stop: return stop();
    case XA::Seek: return seek(command);
    case XA::InputOpen: return openInput(command);
    case XA::InputClose: return closeInput();
    case XA::OutputModule:
        if (!command.textAt(0)) notifyFailed(command.code, XA::InvalidParameters);
        return;
    case XA::NotificationMask:
        if (const auto on = command.numberAt(0)) progressNotifications_ = *on != 0;
        else notifyFailed(command.code, XA::InvalidParameters);
        return;
    case XA::OutputProperty: return setOutputProperty(command);
    case XA::OutputOpen: return openOutput(command);
    case XA::Levels: return setLevels(command);
    case XA::Equalizer: return setEqualizer(command);
    case XA::OutputBufferTime:
        if (const auto ms = command.numberAt(0); ms && *ms >= 10 && *ms <= 10000) output_.setBufferTime(*ms / 1000.0);
        else notifyFailed(command.code, XA::InvalidParameters);
        return;
    case XA::FeedbackModule:
    case XA::FeedbackStart:
    case XA::FeedbackStop:
    case XA::FeedbackHandler:
    case XA::ClientValue: return feedbackCommand(command);
    default: return notifyFailed(command.code, XA::UnknownCommand);
    }
}

void PlaybackEngine::play() {
    if (!decoder_.isOpen()) return notifyFailed(XA::Play, XA::NoInput);
    if (state_ == XA::Playing) return;
    if (state_ == XA::EndOfStream) {
        if (!decoder_.seekSamples(0)) return notifyFailed(XA::Play, XA::NotSeekable);
        lastPosition_ = -1;
        lastSecond_ = -1;
    }
    state_ = XA::Playing;
    notifyState(XA::Playing);
}

void PlaybackEngine::pause() {
    if (state_ != XA::Playing) return;
    output_.pause();
    state_ = XA::Paused;
    notifyState(XA::Paused);
}

void PlaybackEngine::stop() {
    output_.drop();
    if (!stream_ && decoder_.isOpen()) {
        decoder_.seekSamples(0);
        lastPosition_ = -1;
        lastSecond_ = -1;
        reportProgress();
    }
    state_ = XA::Stopped;
    notifyState(XA::Stopped);
    // A stream starts again only by opening it again. Its transfer may take a moment to notice
    // the abort, so the state is reported first.
    if (stream_) closeInput();
}

void PlaybackEngine::seek(const XA_Command& command) {
    const auto offset = command.numberAt(0);
    const auto range = command.numberAt(1);
    if (!offset || !range || *range <= 0 || *offset < 0 || *offset > *range)
        return notifyFailed(command.code, XA::InvalidParameters);
    if (!decoder_.isOpen()) return notifyFailed(command.code, XA::NoInput);
    const std::int64_t length = decoder_.lengthSamples();
    if (length < 0) return notifyFailed(command.code, XA::NotSeekable);
    const std::int64_t target = static_cast<std::int64_t>(static_cast<long double>(length) * *offset / *range);
    if (!decoder_.seekSamples(std::min(target, length))) return notifyFailed(command.code, XA::NotSeekable);
    output_.drop();
    if (state_ == XA::EndOfStream) {
        state_ = XA::Paused;
        notifyState(XA::Paused);
    }
    lastPosition_ = -1;
    lastSecond_ = -1;
    reportProgress();
}

void PlaybackEngine::openInput(const XA_Command& command) {
    const auto location = command.textAt(0);
    closeInput();
    if (!location) {
        if (!command.nullAt(0)) notifyFailed(command.code, XA::InvalidParameters);
        return;
    }
    location_ = *location;
    streamInfoReported_ = false;
    lastPosition_ = -1;
    lastSecond_ = -1;
    if (isStreamLocation(location_)) {
        if (!decoder_.openFeed()) return notifyFailed(command.code, XA::InputOpenFailed);
        connectedReported_ = false;
        needStreamData_ = true;
        notify(XA_Message(XA::NetworkProgress).setByte(5, XA::Connecting));
        stream_ = std::make_unique<HttpStream>(location_, [this] { wake(); });
        notifyInputState(true);
        notify(XA_Message(XA::InputCaps).setUint32(4, 0));
        return;
    }
    if (!decoder_.openFile(location_)) return notifyFailed(command.code, XA::InputOpenFailed, decoder_.errorText());
    notifyInputState(true);
    notify(XA_Message(XA::InputCaps).setUint32(4, 1));
    const long rate = decoder_.openedRate();
    const std::int64_t length = decoder_.lengthSamples();
    if (rate > 0 && length >= 0) notify(XA_Message(XA::Duration).setUint32(4, static_cast<std::uint32_t>(length / rate)));
    reportProgress();
}

void PlaybackEngine::closeInput() {
    const bool wasOpen = decoder_.isOpen();
    stream_.reset(); // ends the transfer and its thread
    streamBytes_.clear();
    needStreamData_ = false;
    decoder_.close();
    if (wasOpen) notifyInputState(false);
    if (state_ != XA::Stopped) {
        output_.drop();
        state_ = XA::Stopped;
        notifyState(XA::Stopped);
    }
}

void PlaybackEngine::openOutput(const XA_Command& command) {
    const auto name = command.textAt(0);
    if (!name) {
        if (command.nullAt(0)) output_.close();
        else notifyFailed(command.code, XA::InvalidParameters);
        return;
    }
    if (const int error = output_.open(*name)) return notifyFailed(command.code, error);
    const Mp3Decoder::Format format = decoder_.format();
    if (format.rate > 0) output_.start(format.rate, format.channels);
}

void PlaybackEngine::setOutputProperty(const XA_Command& command) {
    const auto name = command.textAt(0);
    const auto value = command.numberAt(1);
    if (!name || !value) return notifyFailed(command.code, XA::InvalidParameters);
    if (*name == "OUTPUT.DIRECTSOUND.PITCH") {
        if (*value < 900 || *value > 1100) return notifyFailed(command.code, XA::InvalidParameters);
        pitch_.setPitch(static_cast<int>(*value));
    }
    properties_[*name] = *value;
}

void PlaybackEngine::setLevels(const XA_Command& command) {
    const auto balance = command.numberAt(0);
    const auto pcm = command.numberAt(1);
    const auto master = command.numberAt(2);
    if (!validLevel(balance) || !validLevel(pcm) || !validLevel(master))
        return notifyFailed(command.code, XA::InvalidParameters);
    if (*balance != XA::KeepLevel) balance_ = static_cast<int>(*balance);
    if (*master != XA::KeepLevel) master_ = static_cast<int>(*master);
    if (*pcm != XA::KeepLevel) {
        pcm_ = static_cast<int>(*pcm);
        decoder_.setVolume(pcm_ / 100.0);
    }
    notifyLevels();
}

void PlaybackEngine::setEqualizer(const XA_Command& command) {
    const auto table = command.count() > 0 ? command.arguments[0].table() : std::nullopt;
    if (!table && !command.nullAt(0)) return notifyFailed(command.code, XA::InvalidParameters);
    decoder_.setEqualizer(table ? &*table : nullptr);
    XA_Message message(XA::EqualizerState);
    message.setUint32(4, table ? 1 : 0);
    if (table) std::memcpy(message.bytes.data() + 8, table->data(), table->size());
    notify(message);
}

void PlaybackEngine::feedbackCommand(const XA_Command& command) {
    int error = 0;
    switch (command.code) {
    case XA::FeedbackModule:
        error = command.textAt(0) ? feedback_.setModule(*command.textAt(0)) : XA::InvalidParameters;
        break;
    case XA::FeedbackStart: error = feedback_.start(); break;
    case XA::FeedbackStop: feedback_.stop(); break;
    case XA::FeedbackHandler:
        error = command.textAt(0) ? feedback_.selectHandler(*command.textAt(0)) : XA::InvalidParameters;
        break;
    case XA::ClientValue:
        if (command.textAt(0) && command.numberAt(1))
            feedback_.setClientValue(*command.textAt(0), static_cast<std::intptr_t>(*command.numberAt(1)));
        else
            error = XA::InvalidParameters;
        break;
    }
    if (error) notifyFailed(command.code, error);
}

// ---- decoding

void PlaybackEngine::decodeStep() {
    if (stream_) pullStream();
    std::uint8_t* audio = nullptr;
    std::size_t bytes = 0;
    switch (decoder_.decode(&audio, &bytes)) {
    case Mp3Decoder::Result::NewFormat: return onNewFormat();
    case Mp3Decoder::Result::Audio: return onAudio(audio, bytes);
    case Mp3Decoder::Result::Done: return endOfInput();
    case Mp3Decoder::Result::NeedMore:
        if (!stream_) return endOfInput();
        if (stream_->hasData()) return;
        switch (stream_->status()) {
        // Everything that arrived is decoded. A transfer that broke off is no end of the stream,
        // however much audio came before.
        case HttpStream::Status::Failed: return failInput(stream_->errorCode(), stream_->errorText());
        case HttpStream::Status::Finished: return endOfInput();
        default: needStreamData_ = true; return;
        }
    case Mp3Decoder::Result::Error:
        if (decoder_.hasDecodedAudio()) return endOfStream();
        return failInput(stream_ ? XA::NotMpegAudio : XA::DecodeFailed);
    }
}

void PlaybackEngine::pullStream() {
    if (!connectedReported_ && stream_->status() != HttpStream::Status::Connecting &&
        stream_->status() != HttpStream::Status::Failed) {
        connectedReported_ = true;
        notify(XA_Message(XA::NetworkProgress).setByte(5, XA::Connected));
    }
    stream_->take(streamBytes_);
    if (streamBytes_.empty()) return;
    decoder_.feed(streamBytes_.data(), streamBytes_.size());
    needStreamData_ = false;
}

void PlaybackEngine::onNewFormat() {
    const Mp3Decoder::Format format = decoder_.format();
    if (!streamInfoReported_) {
        streamInfoReported_ = true;
        const Mp3Decoder::StreamInfo info = decoder_.streamInfo();
        notify(XA_Message(XA::StreamInfo)
                   .setUint32(4, static_cast<std::uint32_t>(format.rate))
                   .setUint16(8, static_cast<std::uint16_t>(info.kbits))
                   .setByte(10, info.mono ? 1 : 0)
                   .setByte(11, static_cast<std::uint8_t>(info.layer))
                   .setByte(12, static_cast<std::uint8_t>(info.version)));
    }
    startOutput();
}

// Opens the default device when no output was chosen, and (re)starts it with the stream's format.
bool PlaybackEngine::startOutput() {
    const Mp3Decoder::Format format = decoder_.format();
    int error = output_.isOpen() ? 0 : output_.open("/dev/wave/0");
    if (!error && !output_.start(format.rate, format.channels)) error = XA::OutputOpenFailed;
    if (!error) return true;
    notifyFailed(XA::Play, error);
    stop();
    return false;
}

void PlaybackEngine::onAudio(std::uint8_t* data, std::size_t bytes) {
    const Mp3Decoder::Format format = decoder_.format();
    if (bytes == 0 || format.channels <= 0) return;
    if (!streamInfoReported_) onNewFormat(); // a stream of the format before reports none
    if (!startOutput()) return;
    // The decoder's own buffer goes out untouched unless a gain or the pitch changes the samples.
    auto* samples = reinterpret_cast<std::int16_t*>(data);
    std::size_t count = bytes / sizeof(std::int16_t);
    if (master_ != 100 || balance_ != 50) {
        samples_.assign(samples, samples + count);
        applyGain(samples_.data(), count, format.channels);
        samples = samples_.data();
    }
    if (pitch_.active()) {
        std::vector<std::int16_t>& shifted = pitch_.process(samples, count / format.channels, format.rate, format.channels);
        samples = shifted.data();
        count = shifted.size();
    }
    feedback_.feed(samples, count / format.channels, format.channels);
    if (count > 0 && !output_.play(reinterpret_cast<std::uint8_t*>(samples), count * sizeof(std::int16_t))) {
        notifyFailed(XA::Play, XA::OutputWriteFailed);
        return stop();
    }
    reportProgress();
}

void PlaybackEngine::applyGain(std::int16_t* samples, std::size_t count, int channels) const {
    const double master = master_ / 100.0;
    const double left = master * (balance_ <= 50 ? 1.0 : (100 - balance_) / 50.0);
    const double right = master * (balance_ >= 50 ? 1.0 : balance_ / 50.0);
    for (std::size_t i = 0; i < count; ++i) {
        const double gain = channels == 2 ? (i % 2 == 0 ? left : right) : master;
        samples[i] = static_cast<std::int16_t>(std::lrint(samples[i] * gain));
    }
}

void PlaybackEngine::endOfStream() {
    // The last samples for a file are written only now: a file cut short there is no stream
    // played to its end.
    if (!output_.drain()) {
        notifyFailed(XA::Play, XA::OutputWriteFailed);
        return stop();
    }
    lastPosition_ = -1;
    reportProgress();
    state_ = XA::EndOfStream;
    notifyState(XA::EndOfStream);
}

// An input that ends before any audio was decoded holds none: that is no stream played to its end.
void PlaybackEngine::endOfInput() {
    if (decoder_.hasDecodedAudio()) return endOfStream();
    failInput(XA::NotMpegAudio);
}

void PlaybackEngine::failInput(int error, const std::string& reason) {
    notifyFailed(XA::InputOpen, error, reason);
    closeInput();
}

void PlaybackEngine::reportProgress() {
    if (!progressNotifications_ || !decoder_.isOpen()) return;
    const long rate = decoder_.format().rate > 0 ? decoder_.format().rate : decoder_.openedRate();
    const std::int64_t position = decoder_.tellSamples();
    const std::int64_t length = decoder_.lengthSamples();
    if (length > 0) {
        const int offset = static_cast<int>(std::min<std::int64_t>(XA::PositionRange, position * XA::PositionRange / length));
        if (offset != lastPosition_) {
            lastPosition_ = offset;
            notify(XA_Message(XA::Position).setUint32(4, offset).setUint32(8, XA::PositionRange));
        }
    }
    if (rate <= 0) return;
    const std::int64_t second = position / rate;
    if (second == lastSecond_) return;
    lastSecond_ = second;
    notify(XA_Message(XA::TimeCode)
               .setByte(4, static_cast<std::uint8_t>(std::min<std::int64_t>(second / 3600, 255)))
               .setByte(5, static_cast<std::uint8_t>(second % 3600 / 60))
               .setByte(6, static_cast<std::uint8_t>(second % 60))
               .setByte(7, static_cast<std::uint8_t>(position % rate * 100 / rate)));
}

// ---- notifications

void PlaybackEngine::notify(const XA_Message& message) {
    if (sink_) sink_->post(message);
}

void PlaybackEngine::notifyState(unsigned char state) {
    notify(XA_Message(XA::PlayerState).setByte(4, state));
}

void PlaybackEngine::notifyFailed(int command, int error, const std::string& reason) {
    notify(XA_Message(XA::CommandFailed)
               .setByte(4, static_cast<std::uint8_t>(command))
               .setInt16(6, static_cast<std::int16_t>(error))
               .setText(8, reason));
}

void PlaybackEngine::notifyInputState(bool open) {
    notify(XA_Message(XA::InputState).setByte(4, open ? 0 : 1));
}

void PlaybackEngine::notifyLevels() {
    for (const unsigned code : {XA::Balance, XA::PcmLevel, XA::MasterLevel})
        notify(XA_Message(code)
                   .setByte(4, static_cast<std::uint8_t>(master_))
                   .setByte(5, static_cast<std::uint8_t>(pcm_))
                   .setByte(6, static_cast<std::uint8_t>(balance_)));
}
