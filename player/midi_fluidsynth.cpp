// MIDI music with FluidSynth and the General MIDI sound font Debian installs
// (timgm6mb-soundfont). The synthesizer and its audio output are made at the first
// Midi statement, so a page without music never opens the sound device.
#include <fluidsynth.h>

#include <string_view>

#include <QFile>
#include <QFileInfo>

#include "system_devices.h"

namespace quom {

namespace {

// Where Debian's sound font packages put a General MIDI font; the first is the
// system's chosen default, the second the font this kit's setup installs.
constexpr const char* kSoundFonts[] = {"/usr/share/sounds/sf2/default-GM.sf2",
                                       "/usr/share/sounds/sf2/TimGM6mb.sf2"};

// The sound servers first, then the sound card itself.
constexpr const char* kAudioDrivers[] = {"pipewire", "pulseaudio", "alsa"};

class FluidMidi final : public MidiOutput {
  public:
    ~FluidMidi() override {
        DropPlayer();
        if (driver_ != nullptr) delete_fluid_audio_driver(driver_);
        if (synth_ != nullptr) delete_fluid_synth(synth_);
        if (settings_ != nullptr) delete_fluid_settings(settings_);
    }

    DeviceResult Play(const QString& file) override {
        if (DeviceResult ready = Prepare(); ready.status != DeviceResult::Status::Done) {
            return ready;
        }
        DropPlayer();
        player_ = new_fluid_player(synth_);
        if (player_ == nullptr) return DeviceResult::Error(QStringLiteral("MIDI player failed"));
        if (fluid_player_add(player_, QFile::encodeName(file).constData()) != FLUID_OK ||
            fluid_player_play(player_) != FLUID_OK) {
            DropPlayer();
            return DeviceResult::Error(QStringLiteral("cannot play %1 as MIDI").arg(file));
        }
        paused_ = false;
        return DeviceResult::Ok();
    }

    // Pauses the music; pausing again carries on where it stopped.
    DeviceResult Pause() override {
        if (player_ == nullptr) return DeviceResult::Ok();
        if (paused_) {
            fluid_player_play(player_);
        } else {
            fluid_player_stop(player_);
            fluid_synth_all_notes_off(synth_, -1);
        }
        paused_ = !paused_;
        return DeviceResult::Ok();
    }

    DeviceResult Stop() override {
        DropPlayer();
        return DeviceResult::Ok();
    }

  private:
    DeviceResult Prepare() {
        if (driver_ != nullptr) return DeviceResult::Ok();
        if (failed_) return DeviceResult::NotHere(why_);
        // FluidSynth reports its own failures over several lines; the player says in
        // one what it means for the statement.
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
            fluid_set_log_function(level, nullptr, nullptr);
        }
        settings_ = new_fluid_settings();
        synth_ = settings_ != nullptr ? new_fluid_synth(settings_) : nullptr;
        if (synth_ == nullptr) return Unavailable(QStringLiteral("no MIDI synthesizer"));
        bool loaded = false;
        for (const char* font : kSoundFonts) {
            if (QFileInfo::exists(QString::fromLatin1(font)) &&
                fluid_synth_sfload(synth_, font, 1) != FLUID_FAILED) {
                loaded = true;
                break;
            }
        }
        if (!loaded) return Unavailable(QStringLiteral("no General MIDI sound font"));
        for (const char* name : kAudioDrivers) {
            if (!DriverMayWork(name) ||
                fluid_settings_setstr(settings_, "audio.driver", name) != FLUID_OK) {
                continue;
            }
            driver_ = new_fluid_audio_driver(settings_, synth_);
            if (driver_ != nullptr) return DeviceResult::Ok();
        }
        return Unavailable(QStringLiteral("no sound output for MIDI"));
    }

    // ALSA reports a missing sound card on standard error itself, over many lines, so
    // it is tried only where the system lists a card.
    static bool DriverMayWork(std::string_view name) {
        if (name != "alsa") return true;
        QFile cards(QStringLiteral("/proc/asound/cards"));
        return cards.open(QIODevice::ReadOnly) && !cards.readAll().contains("no soundcards");
    }

    DeviceResult Unavailable(const QString& why) {
        failed_ = true;
        why_ = why;
        return DeviceResult::NotHere(why);
    }

    void DropPlayer() {
        if (player_ == nullptr) return;
        fluid_player_stop(player_);
        delete_fluid_player(player_);
        player_ = nullptr;
        fluid_synth_all_notes_off(synth_, -1);
        paused_ = false;
    }

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_audio_driver_t* driver_ = nullptr;
    fluid_player_t* player_ = nullptr;
    bool paused_ = false;
    bool failed_ = false;
    QString why_;
};

}  // namespace

std::unique_ptr<MidiOutput> MakeSystemMidi() {
    return std::make_unique<FluidMidi>();
}

}  // namespace quom
