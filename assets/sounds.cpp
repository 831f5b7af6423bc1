#include "sounds.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

namespace valkoran::assets {
namespace {

constexpr double kPi = 3.14159265358979323846, kTwoPi = 2 * kPi;

enum class Wave { Sine, Square, Saw };

// One oscillator sample; the square and the saw are summed from harmonics
// below the Nyquist limit so that high notes stay clean.
double Oscillator(Wave wave, double phase, double frequency) {
  if (wave == Wave::Sine) return std::sin(phase);
  double sum = 0;
  for (int k = 1; k * frequency < 9500 && k <= 15; ++k) {
    if (wave == Wave::Square && k % 2 == 0) continue;
    sum += std::sin(k * phase) / k;
  }
  return wave == Wave::Square ? sum * (4 / kPi) : sum * (2 / kPi);
}

struct Envelope {
  double attack = 0.004;  // seconds to full level
  double decay = 0;       // time constant of the fall after the attack; 0 holds
};

class Clip {
 public:
  explicit Clip(double seconds) : s_(size_t(std::lround(seconds * kSampleRate)), 0.0) {}

  // A note gliding exponentially from f0 to f1, with a short release at its
  // end so that it never stops on a step.
  void Tone(double start, double length, double f0, double f1, double amp, Wave wave, Envelope env,
            double vibrato = 0) {
    const size_t first = Index(start), count = size_t(std::lround(length * kSampleRate));
    double phase = 0;
    for (size_t i = 0; i < count && first + i < s_.size(); ++i) {
      const double t = double(i) / kSampleRate;
      double f = f0 * std::pow(f1 / f0, t / length);
      if (vibrato > 0) f *= 1 + vibrato * std::sin(kTwoPi * 6.0 * t);
      phase += kTwoPi * f / kSampleRate;
      s_[first + i] += amp * Level(env, t, length) * Oscillator(wave, phase, f);
    }
  }

  // A bell: a struck tone with the inharmonic partials of a small bell.
  void Bell(double start, double length, double f, double amp, double decay) {
    Tone(start, length, f, f, amp, Wave::Sine, {0.002, decay});
    Tone(start, length, 2.0 * f, 2.0 * f, amp * 0.22, Wave::Sine, {0.002, decay * 0.55});
    Tone(start, length, 2.76 * f, 2.76 * f, amp * 0.18, Wave::Sine, {0.001, decay * 0.3});
  }

  // Filtered noise; `tone` is the one-pole low-pass coefficient (1 = open),
  // which may close over the length of the burst (`toneEnd`).
  void Noise(double start, double length, double amp, Envelope env, double tone, double toneEnd, uint64_t seed,
             bool highPass = false) {
    Rng rng(seed);
    const size_t first = Index(start), count = size_t(std::lround(length * kSampleRate));
    double low = 0;
    for (size_t i = 0; i < count && first + i < s_.size(); ++i) {
      const double t = double(i) / kSampleRate;
      const double a = tone + (toneEnd - tone) * (t / length);
      const double white = rng.Uniform() * 2 - 1;
      low += a * (white - low);
      s_[first + i] += amp * Level(env, t, length) * (highPass ? white - low : low);
    }
  }

  // Warms and thickens the sum, as an overdriven speaker would.
  void Saturate(double drive) {
    for (double& v : s_) v = std::tanh(v * drive) / std::tanh(drive);
  }

  // Fades both ends, then scales the loudest sample to `peak` of full scale.
  std::vector<int16_t> Finish(double peak) const {
    std::vector<double> v = s_;
    const size_t fadeIn = size_t(0.003 * kSampleRate), fadeOut = size_t(0.012 * kSampleRate);
    for (size_t i = 0; i < v.size(); ++i) {
      if (i < fadeIn) v[i] *= 0.5 - 0.5 * std::cos(kPi * double(i) / fadeIn);
      const size_t fromEnd = v.size() - 1 - i;
      if (fromEnd < fadeOut) v[i] *= 0.5 - 0.5 * std::cos(kPi * double(fromEnd) / fadeOut);
    }
    double loudest = 1e-9;
    for (double x : v) loudest = std::max(loudest, std::abs(x));
    std::vector<int16_t> out(v.size());
    for (size_t i = 0; i < v.size(); ++i)
      out[i] = int16_t(std::lround(std::clamp(v[i] * peak / loudest, -1.0, 1.0) * 32767.0));
    return out;
  }

 private:
  size_t Index(double seconds) const { return size_t(std::lround(seconds * kSampleRate)); }

  static double Level(Envelope env, double t, double length) {
    double level = t < env.attack ? t / env.attack : 1.0;
    if (env.decay > 0 && t >= env.attack) level *= std::exp(-(t - env.attack) / env.decay);
    const double release = std::min(0.008, length / 4);
    if (t > length - release) level *= (length - t) / release;
    return level;
  }

  std::vector<double> s_;
};

// Equal-tempered notes used below.
constexpr double C4 = 261.63, Eb4 = 311.13, E4 = 329.63, G4 = 392.00, C5 = 523.25, E5 = 659.26,
                 G5 = 783.99, B5 = 987.77, C6 = 1046.50, E6 = 1318.51, D6 = 1174.66, G6 = 1567.98;

std::vector<int16_t> GameStart() {
  Clip c(1.2);
  const double run[] = {C4, E4, G4, C5, E5};
  for (int i = 0; i < 5; ++i) {
    c.Tone(0.1 * i, 0.2, run[i], run[i], 0.24, Wave::Saw, {0.012, 0.16});
    c.Tone(0.1 * i, 0.2, run[i] * 2, run[i] * 2, 0.06, Wave::Sine, {0.006, 0.1});
  }
  for (double f : {C5, E5, G5, C6})
    c.Tone(0.52, 0.68, f, f, 0.15, Wave::Saw, {0.025, 0.42}, 0.004);
  c.Tone(0.52, 0.68, C4 / 2, C4 / 2, 0.3, Wave::Sine, {0.02, 0.35});
  c.Saturate(1.4);
  return c.Finish(0.72);
}

std::vector<int16_t> Click(bool press) {
  Clip c(press ? 0.040 : 0.035);
  if (press) {
    c.Noise(0, 0.012, 0.7, {0.0005, 0.0025}, 0.9, 0.9, 21, true);
    c.Tone(0, 0.035, 2400, 2100, 0.5, Wave::Sine, {0.0005, 0.005});
    c.Tone(0, 0.035, 950, 900, 0.3, Wave::Sine, {0.0008, 0.009});
    return c.Finish(0.7);
  }
  c.Noise(0, 0.01, 0.35, {0.0008, 0.003}, 0.35, 0.35, 22);
  c.Tone(0, 0.03, 1350, 1250, 0.4, Wave::Sine, {0.001, 0.006});
  return c.Finish(0.45);
}

std::vector<int16_t> GameInfo() {
  Clip c(0.15);
  c.Tone(0, 0.15, B5, B5 * 1.02, 0.5, Wave::Sine, {0.006, 0.05});
  c.Tone(0, 0.15, B5 * 2, B5 * 2, 0.1, Wave::Sine, {0.004, 0.025});
  return c.Finish(0.5);
}

std::vector<int16_t> Turn() {
  Clip c(0.4);
  c.Bell(0, 0.4, E6, 0.5, 0.16);
  c.Bell(0.15, 0.25, C6, 0.55, 0.12);
  return c.Finish(0.62);
}

std::vector<int16_t> Timer() {
  Clip c(0.4);
  for (double at : {0.0, 0.2}) {
    c.Tone(at, 0.075, 1200, 1200, 0.35, Wave::Square, {0.003, 0});
    c.Noise(at + 0.1, 0.012, 0.3, {0.0005, 0.003}, 0.8, 0.8, 31 + uint64_t(at * 10), true);
  }
  return c.Finish(0.45);
}

std::vector<int16_t> BattleStart() {
  Clip c(0.9);
  for (double at : {0.0, 0.45}) {
    c.Tone(at, 0.42, 330, 900, 0.35, Wave::Saw, {0.01, 0});
    c.Tone(at, 0.42, 165, 450, 0.25, Wave::Square, {0.01, 0});
  }
  c.Saturate(1.8);
  return c.Finish(0.6);
}

std::vector<int16_t> BattleWon() {
  Clip c(0.7);
  const double run[] = {C5, E5, G5};
  for (int i = 0; i < 3; ++i) c.Tone(0.09 * i, 0.16, run[i], run[i], 0.3, Wave::Square, {0.004, 0.1});
  c.Tone(0.27, 0.43, C6, C6, 0.3, Wave::Square, {0.004, 0.2}, 0.005);
  c.Bell(0.27, 0.43, C6 * 2, 0.12, 0.15);
  return c.Finish(0.68);
}

std::vector<int16_t> BattleLost() {
  Clip c(0.7);
  c.Tone(0.0, 0.22, G4, G4, 0.3, Wave::Square, {0.01, 0.14});
  c.Tone(0.2, 0.22, Eb4, Eb4, 0.3, Wave::Square, {0.01, 0.14});
  c.Tone(0.4, 0.3, C4, C4 * 0.94, 0.32, Wave::Square, {0.01, 0.18});
  c.Tone(0.0, 0.7, C4 / 2, C4 / 2 * 0.96, 0.2, Wave::Sine, {0.02, 0.4});
  return c.Finish(0.66);
}

std::vector<int16_t> Bomb() {
  Clip c(0.8);
  c.Noise(0, 0.8, 1.0, {0.002, 0.2}, 0.6, 0.04, 41);
  c.Noise(0, 0.12, 0.5, {0.0008, 0.03}, 1.0, 0.5, 42, true);
  c.Tone(0, 0.6, 75, 36, 0.9, Wave::Sine, {0.003, 0.16});
  c.Saturate(2.2);
  return c.Finish(0.78);
}

std::vector<int16_t> Pulse() {
  Clip c(0.7);
  // Detuned voices sweeping together beat against each other: a shimmer.
  for (int k = 0; k < 5; ++k) {
    const double detune = 1 + 0.012 * (k - 2);
    c.Tone(0, 0.7, 300 * detune, 1600 * detune, 0.14, Wave::Sine, {0.08, 0.35});
  }
  c.Tone(0, 0.7, 150, 800, 0.1, Wave::Square, {0.1, 0.25});
  return c.Finish(0.62);
}

std::vector<int16_t> PulseGot() {
  Clip c(0.3);
  c.Tone(0, 0.3, 1900, 110, 0.4, Wave::Square, {0.002, 0.1});
  c.Noise(0, 0.05, 0.3, {0.001, 0.015}, 1.0, 0.6, 51, true);
  return c.Finish(0.66);
}

std::vector<int16_t> Reinforcements() {
  Clip c(0.4);
  const double run[] = {G4, C5, E5};
  for (int i = 0; i < 3; ++i) {
    const double at = 0.08 * i, length = i == 2 ? 0.24 : 0.1;
    c.Tone(at, length, run[i], run[i], 0.28, Wave::Square, {0.004, i == 2 ? 0.12 : 0.06});
    c.Noise(at, 0.05, 0.25, {0.001, 0.015}, 0.25, 0.1, 61 + uint64_t(i));
  }
  return c.Finish(0.64);
}

std::vector<int16_t> Scout() {
  Clip c(0.5);
  c.Tone(0, 0.22, 1450, 1400, 0.5, Wave::Sine, {0.002, 0.07});
  c.Tone(0.22, 0.28, 1400, 1380, 0.2, Wave::Sine, {0.003, 0.06});
  c.Tone(0, 0.05, 2900, 2800, 0.08, Wave::Sine, {0.001, 0.01});
  return c.Finish(0.6);
}

std::vector<int16_t> Console() {
  Clip c(0.2);
  c.Tone(0, 0.08, E5, E5, 0.4, Wave::Sine, {0.003, 0.03});
  c.Tone(0, 0.08, E5 * 2, E5 * 2, 0.08, Wave::Sine, {0.003, 0.02});
  c.Tone(0.08, 0.12, B5, B5, 0.4, Wave::Sine, {0.003, 0.04});
  c.Tone(0.08, 0.12, B5 * 2, B5 * 2, 0.08, Wave::Sine, {0.003, 0.02});
  return c.Finish(0.55);
}

std::vector<int16_t> Message() {
  Clip c(0.15);
  c.Tone(0, 0.06, D6, D6, 0.4, Wave::Sine, {0.003, 0.025});
  c.Tone(0.055, 0.095, G6, G6, 0.4, Wave::Sine, {0.003, 0.035});
  return c.Finish(0.48);
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v & 255));
  out.push_back(uint8_t((v >> 8) & 255));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void PutTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(tag[i]));
}

}  // namespace

std::vector<Cue> Cues() {
  return {
      {"gamestart.wav", GameStart()},   {"click1.wav", Click(true)},        {"click2.wav", Click(false)},
      {"gameinfo.wav", GameInfo()},     {"turn.wav", Turn()},               {"timer.wav", Timer()},
      {"battlestart.wav", BattleStart()}, {"battlewon.wav", BattleWon()},   {"battlelost.wav", BattleLost()},
      {"bomb.wav", Bomb()},             {"pulse.wav", Pulse()},             {"pulsegot.wav", PulseGot()},
      {"reinforcements.wav", Reinforcements()}, {"scout.wav", Scout()},     {"console.wav", Console()},
      {"message.wav", Message()},
  };
}

std::vector<uint8_t> WaveFile(const std::vector<int16_t>& samples) {
  const uint32_t bytes = uint32_t(samples.size() * 2);
  std::vector<uint8_t> out;
  out.reserve(44 + bytes);
  PutTag(out, "RIFF");
  Put32(out, 36 + bytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, kSampleRate);
  Put32(out, kSampleRate * 2);
  Put16(out, 2);
  Put16(out, 16);
  PutTag(out, "data");
  Put32(out, bytes);
  for (int16_t s : samples) Put16(out, uint16_t(s));
  return out;
}

}  // namespace valkoran::assets
