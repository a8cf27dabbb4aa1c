// Fuzzes the dialog template builder with any captions, class names and control counts: a
// separate reader walks the bytes as the system reads them and must find the header and every
// control that was added, inside the buffer and with the count the header gives.
#include <fuzzer/FuzzedDataProvider.h>
#include <vector>
#include "auxwin/DialogTemplate.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

// The widening the fuzzer uses: each byte to the character of the same code.
std::u16string Widen(const std::string& text) { return {text.begin(), text.end()}; }

// One control as it was added.
struct Added {
  std::string text;
  std::string className;
  int id = 0;
  int ordinal = 0;
};

// Reads the template back field by field; every read is checked against the bytes written.
class Reader {
 public:
  explicit Reader(const DialogTemplate& dialog) : dialog_(dialog) {}
  unsigned Word() {
    Require(at_ + 2 <= dialog_.used && dialog_.used <= dialog_.bytes.size(), "reads stay inside the written bytes");
    unsigned value = dialog_.bytes[at_] | dialog_.bytes[at_ + 1] << 8;
    at_ += 2;
    return value;
  }
  uint32_t Long() {
    uint32_t low = Word();
    return low | static_cast<uint32_t>(Word()) << 16;
  }
  std::u16string Text() {
    std::u16string text;
    for (unsigned c = Word(); c != 0; c = Word()) text += static_cast<char16_t>(c);
    return text;
  }
  void Align() { at_ = (at_ + 3) & ~size_t(3); }
  size_t At() const { return at_; }

 private:
  const DialogTemplate& dialog_;
  size_t at_ = 0;
};

void CheckTemplate(const DialogTemplate& dialog, const std::string& caption, bool withFont, const std::string& face,
                   const std::vector<Added>& added) {
  Require(dialog.bytes.size() == DialogTemplateCapacity && dialog.used <= DialogTemplateCapacity, "the buffer is never overrun");
  Require(dialog.controls == static_cast<int>(added.size()), "the control count matches the controls added");
  Reader read(dialog);
  const uint32_t style = read.Long();
  Require(((style & DialogSetFont) != 0) == withFont, "the font flag is the style's");
  read.Long();
  Require(read.Word() == added.size(), "the header's count matches the controls added");
  for (int i = 0; i < 6; ++i) read.Word();  // x, y, width, height, menu, class
  Require(read.Text() == Widen(caption), "the caption reads back");
  if (withFont) {
    read.Word();
    Require(read.Text() == Widen(face), "the font face reads back");
  }
  for (const Added& control : added) {
    read.Align();
    read.Long();
    read.Long();
    for (int i = 0; i < 4; ++i) read.Word();
    Require(read.Word() == (static_cast<unsigned>(control.id) & 0xFFFF), "a control's id reads back");
    Require(read.Text() == Widen(control.className), "a control's class reads back");
    if (control.ordinal != 0) {
      Require(read.Word() == 0xFFFF && read.Word() == (static_cast<unsigned>(control.ordinal) & 0xFFFF), "an ordinal reads back");
    } else {
      Require(read.Text() == Widen(control.text), "a control's text reads back");
    }
    Require(read.Word() == 0, "no creation data");
  }
  Require(read.At() == dialog.used, "the controls end where the writing stopped");
}

// A text the template carries: no zero byte (it would end the string early), and never a first
// character 0xFFFF, which the system reads as an ordinal (a byte cannot widen to it here).
std::string TextFrom(FuzzedDataProvider& in, size_t longest) {
  std::string text = in.ConsumeRandomLengthString(longest);
  std::erase(text, '\0');
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string caption = TextFrom(in, 12000);
  const std::string face = TextFrom(in, 64);
  const bool withFont = in.ConsumeBool();
  const int width = in.ConsumeIntegral<int>();
  DialogTemplate dialog;
  const uint32_t style = (in.ConsumeIntegral<uint32_t>() & ~DialogSetFont) | (withFont ? DialogSetFont : 0);
  if (!BeginDialogTemplate(dialog, 0, 0, width, 100, caption, style, 9, face, 0, Widen)) {
    Require(dialog.bytes.empty(), "a header that does not fit leaves no template");
    return 0;
  }
  std::vector<Added> added;
  while (in.remaining_bytes() > 0) {
    Added control;
    control.id = in.ConsumeIntegral<int>();
    control.ordinal = in.ConsumeBool() ? in.ConsumeIntegral<int>() : 0;
    control.text = TextFrom(in, 4000);
    control.className = TextFrom(in, 300);
    const int x = in.ConsumeBool() ? CentredControl : in.ConsumeIntegral<int>();
    const int controlWidth = in.ConsumeIntegral<int>();
    const bool button = in.ConsumeBool();
    if (button) control.className = "BUTTON";
    const DialogTemplate before = dialog;
    const bool fits = button
                          ? AddDefaultButton(dialog, control.text, control.id, x, 0, controlWidth, 14, 0, 0, control.ordinal)
                          : AddDialogControl(dialog, control.text, control.id, control.className, 0, x, 0, controlWidth, 14,
                                             0, control.ordinal);
    if (!fits) {
      Require(dialog.bytes == before.bytes && dialog.used == before.used && dialog.controls == before.controls,
              "a control that does not fit leaves the template unchanged");
      continue;
    }
    if (dialog.controls != before.controls + 1) Require(false, "each control added counts once");
    added.push_back(control);
  }
  CheckTemplate(dialog, caption, withFont, face, added);
  return 0;
}
