// The system's own devices behind the device interfaces.
#pragma once

#include <memory>

#include "devices.h"

namespace quom {

// Wave sounds through Qt Multimedia's default audio output.
std::unique_ptr<SoundOutput> MakeSystemSound();
// MIDI through FluidSynth with the system's General MIDI sound font.
std::unique_ptr<MidiOutput> MakeSystemMidi();
// The first optical drive, where the system has one.
std::unique_ptr<CdDrive> MakeSystemCdDrive();

}  // namespace quom
