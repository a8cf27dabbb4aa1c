// The command buttons' face table.
#include "shell/ButtonFaces.h"
#include "commands/CommandIds.h"

namespace {
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }
constexpr uint32_t Red = Rgb(255, 0, 0);
constexpr uint32_t Yellow = Rgb(255, 255, 0);
constexpr uint32_t White = Rgb(255, 255, 255);
constexpr uint32_t Green = Rgb(0, 255, 0);
constexpr uint32_t Blue = Rgb(0, 0, 255);

constexpr ButtonFace Faces[] = {
    {ButtonNewFile, "New File", Red, Yellow},       {ButtonOpenFile, "Open File", White, Green},
    {ButtonSaveAs, "save File as", White, Green},   {ButtonQuickRun, "Quick Run", White, Red},
    {ButtonCompile, "Compile File", White, Red},    {ButtonExit, "Exit Win", Yellow, Blue},
    {ButtonVersion, "Version", White, Green},       {ButtonFinder, "finder", Yellow, Blue},
    {ButtonReplace, "replace", Yellow, Blue},       {ButtonSaveFile, "SaveFile", White, Green},
    {ButtonUndo, "Undo", Red, Green},
};
}  // namespace

const ButtonFace* FaceOfButton(int id) {
  for (const ButtonFace& face : Faces)
    if (face.id == id) return &face;
  return nullptr;
}

CaptionOrigin CentreCaption(int itemWidth, int itemHeight, int textWidth, int textHeight) {
  return {(itemWidth - textWidth) / 2, (itemHeight - textHeight) / 2};
}
