// The shell's start values that other code relies on before anything has run.
#include <gtest/gtest.h>
#include "shell/ShellState.h"

TEST(ShellState, GuiStateRecordStartsZero) {
  for (int slot = 0; slot < GuiStateSlots; ++slot) ASSERT_EQ(GuiState[slot], 0u) << slot;
}
