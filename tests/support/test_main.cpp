#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ts {
void InstallIsolation();
}

int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  ::testing::InitGoogleMock(&argc, argv);
  ts::InstallIsolation();
  return RUN_ALL_TESTS();
}
