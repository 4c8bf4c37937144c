// Random numbers for overwrite patterns and notification-icon ids. Not for secrets.
#pragma once

#include <cstdint>
#include <string>

namespace rt {

void Randomize();                    // seeds from the clock and the process
void RandomizeWith(uint64_t seed);   // a fixed sequence, for tests
void ResetRandomForTests();          // the sequence the program starts with (tests share one process)
double Rnd();                        // in [0, 1)
int RandomInt(int lo, int hi);       // lo..hi inclusive
std::string RandomDigits(size_t n);  // n characters "0".."9"

}  // namespace rt
