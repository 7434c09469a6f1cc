#pragma once

// Command and notification codes of the playback component, and the layouts of the records it
// sends (offsets count from the start of the record; the code takes bytes 0 to 3).
namespace XA {

enum Command : int {
    Play = 4,
    Pause = 5,
    Stop = 6,
    Seek = 7,                  // offset, range
    InputOpen = 8,             // path or "http://" URL; null: nothing more after end of stream
    InputClose = 9,
    OutputModule = 27,         // output module name (any name is accepted)
    NotificationMask = 34,     // 1: position and time code notifications on, 0: off
    OutputProperty = 36,       // name, integer
    OutputOpen = 49,           // "/dev/wave/%d", "/dev/dsound/%d", "wav:" path; null releases
    Levels = 57,               // balance, PCM level, master level (0-100, 255 keeps a value)
    Equalizer = 65,            // 64 signed bytes or null
    FeedbackModule = 125,      // "function@%lx" with the module entry's address
    FeedbackStart = 129,
    FeedbackStop = 130,
    OutputBufferTime = 139,    // milliseconds of sound the output device holds
    FeedbackHandler = 141,     // handler name
    ClientValue = 145,         // name, integer handed back to feedback handlers
};

enum Notification : unsigned {
    Ready = 73,
    CommandFailed = 75,        // byte command at 4, int16 error code at 6, from 8 the reason in
                               // words as a zero-ended text (empty when the code says it all)
    PlayerState = 78,          // byte state at 4
    InputState = 82,           // byte at 4: 0 open, 1 closed
    InputCaps = 84,            // uint32 at 4: bit 0 seekable
    Position = 85,             // uint32 offset at 4, uint32 range at 8
    TimeCode = 87,             // bytes hours, minutes, seconds, hundredths at 4..7
    Balance = 101,             // the three level notifications share one layout:
    PcmLevel = 102,            // byte master at 4, PCM at 5, balance at 6
    MasterLevel = 103,
    Duration = 111,            // uint32 seconds at 4
    StreamInfo = 112,          // uint32 frequency at 4, uint16 kbit/s at 8, byte mode at 10 (1 mono),
                               // byte layer at 11, byte MPEG version at 12 (1, 2, 25 for 2.5)
    PropertyList = 113,
    EqualizerState = 115,      // uint32 at 4: 1 when the 64 band bytes follow at 8, 0 when off
    NetworkProgress = 121,     // byte event at 5: 16 connecting, 17 connected
};

enum PlayerStateValue : unsigned char { Stopped = 0, Playing = 1, Paused = 2, EndOfStream = 3 };
enum NetworkEvent : unsigned char { Connecting = 16, Connected = 17 };

constexpr int PositionRange = 400;
constexpr unsigned char KeepLevel = 255;

} // namespace XA
