// The shell's start values that other code relies on before anything has run, and how handles
// are kept in the exported record's 32-bit slots by the 32-bit and the 64-bit program.
#include <gtest/gtest.h>
#include "shell/GuiSlots.h"
#include "shell/ShellState.h"

TEST(ShellState, GuiStateRecordStartsZero) {
  for (int slot = 0; slot < GuiStateSlots; ++slot) ASSERT_EQ(GuiState[slot], 0u) << slot;
}

// The 64-bit program once kept only the low half of its instance handle, 0x40000000 for an
// image at 0x140000000, and handed that to Windows as the instance of every child control.
TEST(GuiSlots, TheInstanceHandleComesBackWholeFromSlotsTwoAndFour) {
  const struct {
    uint64_t handle;
    size_t bytes;
    uint32_t low, high;
  } cases[] = {
      {0x00400000u, 4, 0x00400000u, 0x00400000u},             // a 32-bit image: the same handle twice
      {0xFFFF0000u, 4, 0xFFFF0000u, 0xFFFF0000u},             // above 2 GB (large-address-aware)
      {0x140000000u, 8, 0x40000000u, 0x1u},                   // a 64-bit image at its default base
      {0x7FF612340000u, 8, 0x12340000u, 0x7FF6u},             // relocated high, as address randomisation puts it
      {0x00400000u, 8, 0x00400000u, 0u},                      // a 64-bit image below 4 GB
  };
  for (const auto& c : cases) {
    InstanceSlotValues slots = InstanceSlotsFor(c.handle, c.bytes);
    EXPECT_EQ(slots.low, c.low) << std::hex << c.handle;
    EXPECT_EQ(slots.high, c.high) << std::hex << c.handle;
    EXPECT_EQ(InstanceFromSlots(slots.low, slots.high, c.bytes), c.handle) << std::hex << c.handle;
  }
}

TEST(GuiSlots, SlotZeroHoldsTheWindowHandlesSignificantBits) {
  EXPECT_EQ(WindowSlotFor(0x000A01F4u), 0x000A01F4u);
  EXPECT_EQ(WindowSlotFor(0xFFFFFFFFFFFF8002u), 0xFFFF8002u);  // a sign-extended handle in a 64-bit process
}
