#include "check/label_typos.h"

#include <algorithm>
#include <string>
#include <vector>

#include "profile/profile_record.h"

namespace tw::check {

namespace {

/// The letters of `text`, in lower case; everything else left out.
std::string key_word(std::string_view text) {
  std::string word;
  for (const char c : text) {
    if (c >= 'A' && c <= 'Z') word += static_cast<char>(c - 'A' + 'a');
    if (c >= 'a' && c <= 'z') word += c;
  }
  return word;
}

/// The number of letters to change, leave out or add to turn `a` into `b`.
std::size_t edit_distance(const std::string& a, const std::string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace

std::string_view intended_label(std::string_view start) {
  const std::string word = key_word(start);
  if (word.empty()) return {};
  std::string_view best;
  std::size_t best_distance = 3;
  for (const ProfileLabel& entry : profile_labels()) {
    const std::string label_word = key_word(entry.label);
    const std::size_t allowed = label_word.size() >= 5 ? 2 : 0;
    const std::size_t distance = edit_distance(word, label_word);
    if (distance <= allowed && distance < best_distance) {
      best = entry.label;
      best_distance = distance;
    }
  }
  return best;
}

}  // namespace tw::check
