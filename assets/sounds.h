// The game's sound cues, synthesised: short clips of 16-bit mono PCM.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace valkoran::assets {

inline constexpr int kSampleRate = 22050;

struct Cue {
  std::string file;  // e.g. "turn.wav"
  std::vector<int16_t> samples;
};

// Every cue the game plays, by file name.
std::vector<Cue> Cues();

// A complete RIFF/WAVE file: 44-byte header, then the samples little-endian.
std::vector<uint8_t> WaveFile(const std::vector<int16_t>& samples);

}  // namespace valkoran::assets
