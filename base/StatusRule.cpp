// The status bar's rule.
#include "base/StatusRule.h"
#include <utility>

void StatusRule::Say(std::string text) {
  said_ = std::move(text);
  speaks_ = true;
  saidAtPlace_ = false;
}

void StatusRule::SayAt(std::string text, int line) {
  Say(std::move(text));
  saidAtPlace_ = true;
  placeLine_ = caretLine_ = line;
}

void StatusRule::CaretAt(int line) {
  caretLine_ = line;
  if (speaks_ && saidAtPlace_ && line != placeLine_) Forget();
}

void StatusRule::Forget() {
  speaks_ = saidAtPlace_ = false;
  said_.clear();
}

void StatusRule::MarkError(std::string message, int line) {
  error_ = line > 0 ? std::move(message) : std::string();
  errorLine_ = line > 0 ? line : 0;
}

std::string StatusRule::Text() const {
  if (speaks_) return said_;
  if (errorLine_ > 0) return caretLine_ == errorLine_ ? error_ : ErrorElsewhereText(error_, errorLine_);
  return idle_;
}

std::string ErrorElsewhereText(const std::string& message, int line) {
  return message + " (Ctrl+F6 goes to line " + std::to_string(line) + ")";
}

std::string Counted(long long count, const std::string& noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}
