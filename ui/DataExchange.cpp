#include "ui/DataExchange.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

#include "ui/StandardPrompts.h"

namespace ui {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// A decimal integer with optional sign and blanks around it, or nothing.
bool ParseInt(const std::string& text, int& value) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  const std::string core = text.substr(begin, end - begin);
  if (core.empty()) return false;
  std::size_t digits = (core[0] == '+' || core[0] == '-') ? 1 : 0;
  if (digits == core.size()) return false;
  for (std::size_t i = digits; i < core.size(); ++i) {
    if (core[i] < '0' || core[i] > '9') return false;
  }
  errno = 0;
  const long long parsed = std::strtoll(core.c_str(), nullptr, 10);
  if (errno == ERANGE || parsed < std::numeric_limits<int>::min() || parsed > std::numeric_limits<int>::max()) {
    return false;
  }
  value = static_cast<int>(parsed);
  return true;
}

}  // namespace

std::string FormatPrompt(const std::string& pattern, const std::string& first, const std::string& second) {
  std::string out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == '1' || pattern[i + 1] == '2')) {
      out += pattern[i + 1] == '1' ? first : second;
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

DataExchange::DataExchange(Controls& controls, Prompts& prompts, bool storing)
    : controls_(controls), prompts_(prompts), storing_(storing) {}

void DataExchange::Fail(int id, const std::string& prompt) {
  failed_ = true;
  prompts_.Message(prompt, kApplicationName, Buttons::kOk, Icon::kWarning);
  controls_.Focus(id);
}

void DataExchange::Text(int id, std::string& member, int limit) {
  if (failed_) return;
  if (!storing_) {
    controls_.SetText(id, member);
    if (limit > 0) controls_.SetTextLimit(id, limit);
    return;
  }
  std::string text = controls_.GetText(id);
  member = text;
  if (limit > 0 && static_cast<int>(text.size()) > limit) Fail(id, FormatPrompt(kPromptMaxChars, std::to_string(limit)));
}

void DataExchange::ListString(int id, std::string& member) {
  if (failed_) return;
  if (!storing_) {
    controls_.ListSelectPrefix(id, member);
    return;
  }
  const int selected = controls_.ListSelection(id);
  member = selected < 0 ? std::string() : controls_.ListItemText(id, selected);
}

void DataExchange::BoundedInt(int id, int& member, int min, int max) {
  if (failed_) return;
  if (!storing_) {
    controls_.SetText(id, std::to_string(member));
    return;
  }
  int value = 0;
  if (!ParseInt(controls_.GetText(id), value)) {
    Fail(id, kPromptParseInt);
    return;
  }
  member = value;
  if (value < min || value > max) Fail(id, FormatPrompt(kPromptIntRange, std::to_string(min), std::to_string(max)));
}

}  // namespace ui
