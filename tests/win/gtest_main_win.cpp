// Test entry point for the Windows test programs. Output goes to a pipe that CTest reads
// on Linux: binary mode keeps the line ends as "\n", so test names carry no "\r".
#include <fcntl.h>
#include <io.h>
#include <objbase.h>
#include <stdio.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  // The picture loader and other shell code use COM on the main thread, as the program does.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
