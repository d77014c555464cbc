// The stand-in layer behaves as Windows does where the program relies on it.
#include <gtest/gtest.h>

#include "platform/posix/test_control.h"
#include "platform/win32.h"
#include "support/scratch.h"

namespace {

class LayerTest : public ::testing::Test {
 protected:
  void SetUp() override { testctl::Reset(); }
  void TearDown() override { testctl::Reset(); }
  ScratchFolder root;
};

TEST_F(LayerTest, Placeholder) {}

}  // namespace
