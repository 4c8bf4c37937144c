#include "runtime/random.h"

#include <windows.h>

#include <random>

namespace rt {

namespace {
constexpr uint64_t kStartSeed = 0x5eed1234abcdULL;

std::mt19937_64& Engine() {
  static std::mt19937_64 e{kStartSeed};
  return e;
}
}  // namespace

void Randomize() {
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  RandomizeWith(static_cast<uint64_t>(c.QuadPart) ^ (static_cast<uint64_t>(GetCurrentProcessId()) << 32));
}

void RandomizeWith(uint64_t seed) { Engine().seed(seed); }

void ResetRandomForTests() { RandomizeWith(kStartSeed); }

double Rnd() { return std::uniform_real_distribution<double>(0.0, 1.0)(Engine()); }

int RandomInt(int lo, int hi) {
  if (hi < lo) return lo;
  return std::uniform_int_distribution<int>(lo, hi)(Engine());
}

std::string RandomDigits(size_t n) {
  std::string s(n, '0');
  std::uniform_int_distribution<int> d(0, 9);
  for (auto& c : s) c = static_cast<char>('0' + d(Engine()));
  return s;
}

}  // namespace rt
