// The faces of the eleven owner-drawn command buttons and where a caption sits on one.
#pragma once
#include <cstdint>

struct ButtonFace {
  int id;                // control identifier of the command button
  const char* caption;   // drawn by the window procedure; the button's own text is a blank
  uint32_t text;         // caption colour, red + green * 256 + blue * 65536
  uint32_t background;   // face colour
};

// The face of a command button; null for any other identifier, which draws nothing.
const ButtonFace* FaceOfButton(int id);

struct CaptionOrigin { int x, y; };

// Top left of a caption centred on an item of the given size; truncating division, so a
// caption wider than its button starts left of it and is clipped on both sides.
CaptionOrigin CentreCaption(int itemWidth, int itemHeight, int textWidth, int textHeight);
