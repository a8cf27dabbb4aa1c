// The payload of a compiled program: its preprocessed unit, appended to a runtime's own file
// and followed by the payload's length and a mark.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "zorbasic/Source.h"

namespace zb {

constexpr std::string_view PayloadMark = "ZORVXPL1";
constexpr size_t PayloadTrailer = 16;  // 8 bytes of length, then the mark

std::string SerializeUnit(const Unit& unit);
bool DeserializeUnit(std::string_view bytes, Unit& unit);

// The runtime's bytes with the payload and its trailer appended.
std::string AttachPayload(std::string_view runtime, std::string_view payload);
// Reads a trailer (the last PayloadTrailer bytes of a file): the payload's length, or -1.
int64_t PayloadLength(std::string_view trailer);

}  // namespace zb
