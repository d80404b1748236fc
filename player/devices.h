// The devices the statements play on: sound files, MIDI music and the CD drive. Each
// sits behind a small interface so the player runs them on the system's devices and
// tests on stand-ins.
#pragma once

#include <functional>

#include <QString>

namespace quom {

// What a device made of a request.
struct DeviceResult {
    enum class Status {
        Done,
        Unavailable,  // no such device or output here: the statement is skipped
        Failed,       // the device is there but refused: the statement failed
    };
    Status status = Status::Done;
    QString detail;  // why, for Unavailable and Failed

    static DeviceResult Ok() { return {}; }
    static DeviceResult NotHere(QString why) { return {Status::Unavailable, std::move(why)}; }
    static DeviceResult Error(QString why) { return {Status::Failed, std::move(why)}; }
};

// Wave sounds; one plays at a time.
class SoundOutput {
  public:
    virtual ~SoundOutput() = default;

    // Starts playing file, ending any sound still playing. ended is called once when
    // the sound is over: played to its end, replaced by the next one, or failed while
    // loading (with the reason, empty on success). It is not called when Play returns
    // other than Done.
    virtual DeviceResult Play(const QString& file, std::function<void(QString failure)> ended) = 0;
};

// MIDI music through a General MIDI synthesizer; one file plays at a time.
class MidiOutput {
  public:
    virtual ~MidiOutput() = default;

    virtual DeviceResult Play(const QString& file) = 0;  // ends any music still playing
    virtual DeviceResult Pause() = 0;                    // nothing playing: Done, nothing happens
    virtual DeviceResult Stop() = 0;
};

// The first optical drive.
class CdDrive {
  public:
    virtual ~CdDrive() = default;

    virtual DeviceResult Eject() = 0;
    virtual DeviceResult Play() = 0;  // the audio tracks from the first to the last
    virtual DeviceResult Stop() = 0;
    virtual DeviceResult Next() = 0;      // play on from the track after the current one
    virtual DeviceResult Previous() = 0;  // play on from the track before the current one
};

struct Devices {
    SoundOutput& sound;
    MidiOutput& midi;
    CdDrive& cd;
};

}  // namespace quom
