#include <windows.h>

#include <cstdio>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ts {
void InstallIsolation();
}

namespace {
// The seed of the order the tests ran in (the unit test moves on to the next seed once they ran).
class SeedOfTheRun : public ::testing::EmptyTestEventListener {
 public:
  void OnTestIterationStart(const ::testing::UnitTest& unit, int) override { seed = unit.random_seed(); }
  int seed = 0;
};
}  // namespace

int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  ::testing::InitGoogleMock(&argc, argv);
  ts::InstallIsolation();
  auto* seed = new SeedOfTheRun;
  ::testing::UnitTest::GetInstance()->listeners().Append(seed);  // the listeners own it
  int failed = RUN_ALL_TESTS();
  if (failed && GTEST_FLAG_GET(shuffle)) {
    // The order may be what failed: name the seed that repeats it.
    printf("The tests ran shuffled with seed %d; GTEST_RANDOM_SEED=%d runs them in this order again.\n",
           seed->seed, seed->seed);
    fflush(stdout);
  }
  return failed;
}
