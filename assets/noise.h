// Seeded randomness for the artwork and the sounds. Everything here is our own
// arithmetic (no std distributions, whose results differ between libraries),
// so two builds draw the same pictures bit for bit.
#pragma once

#include <cmath>
#include <cstdint>

namespace valkoran::assets {

class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}
  uint64_t Next() {  // splitmix64
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double Uniform() { return double(Next() >> 11) * (1.0 / 9007199254740992.0); }  // [0, 1)
  double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

 private:
  uint64_t state_;
};

inline uint32_t Hash(int x, int y, int z, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B1u;
  h ^= uint32_t(x) * 0x85EBCA77u;
  h = (h << 13) | (h >> 19);
  h ^= uint32_t(y) * 0xC2B2AE3Du;
  h = (h << 13) | (h >> 19);
  h ^= uint32_t(z) * 0x27D4EB2Fu;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

inline double Lattice(int x, int y, int z, uint32_t seed) { return Hash(x, y, z, seed) * (1.0 / 4294967296.0); }

inline double Smooth(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }

inline double Mix(double a, double b, double t) { return a + (b - a) * t; }

inline double SmoothStep(double edge0, double edge1, double x) {
  double t = (x - edge0) / (edge1 - edge0);
  t = t < 0 ? 0 : (t > 1 ? 1 : t);
  return t * t * (3 - 2 * t);
}

// Value noise in [0, 1), smooth across lattice cells.
inline double Noise3(double x, double y, double z, uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
  const int ix = int(fx), iy = int(fy), iz = int(fz);
  const double tx = Smooth(x - fx), ty = Smooth(y - fy), tz = Smooth(z - fz);
  double c[2][2];
  for (int dz = 0; dz < 2; ++dz)
    for (int dy = 0; dy < 2; ++dy)
      c[dz][dy] = Mix(Lattice(ix, iy + dy, iz + dz, seed), Lattice(ix + 1, iy + dy, iz + dz, seed), tx);
  return Mix(Mix(c[0][0], c[0][1], ty), Mix(c[1][0], c[1][1], ty), tz);
}

// Fractal sum of octaves, normalised back to [0, 1).
inline double Fbm3(double x, double y, double z, uint32_t seed, int octaves, double gain = 0.5) {
  double sum = 0, amp = 1, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * Noise3(x, y, z, seed + 101u * uint32_t(o));
    norm += amp;
    amp *= gain;
    x *= 2.03;
    y *= 2.03;
    z *= 2.03;
  }
  return sum / norm;
}

}  // namespace valkoran::assets
