// How handles are kept in the exported record's 32-bit slots, in the 32-bit and the 64-bit
// program. The record keeps its 4096 32-bit slots in both, so a reader outside the program
// finds every slot where it always was.
//
// Slot 0, MainWindow: a window handle has 32 significant bits in every Windows process (a
// 64-bit process sees it sign-extended), so the slot holds the whole handle in both programs.
// Slots 2 and 4, the instance handle: it is the address the program's image is loaded at. A
// 32-bit program writes the whole handle into each slot. In the 64-bit program it is wider
// than a slot (0x140000000 is where a 64-bit image is loaded by default), so there slot 2
// holds its low 32 bits and slot 4 its high 32 bits; a handle is read back from the two
// slots together, never from one slot that cannot hold it.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int WindowSlot = 0;
constexpr int InstanceLowSlot = 2;
constexpr int InstanceHighSlot = 4;

// The two slots' values for an instance handle of handleBytes bytes (4 or 8).
struct InstanceSlotValues {
  uint32_t low;   // slot 2
  uint32_t high;  // slot 4
};
constexpr InstanceSlotValues InstanceSlotsFor(uint64_t handle, size_t handleBytes) {
  if (handleBytes <= 4) return {uint32_t(handle), uint32_t(handle)};
  return {uint32_t(handle), uint32_t(handle >> 32)};
}

// The instance handle kept in slots 2 and 4 by a program whose handles have handleBytes bytes.
constexpr uint64_t InstanceFromSlots(uint32_t low, uint32_t high, size_t handleBytes) {
  if (handleBytes <= 4) return low;
  return uint64_t(high) << 32 | low;
}

// Slot 0's value for a window handle: its 32 significant bits.
constexpr uint32_t WindowSlotFor(uint64_t window) { return uint32_t(window); }
