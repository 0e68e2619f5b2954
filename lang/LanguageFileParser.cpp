#include "lang/LanguageFileParser.h"

#include <algorithm>

namespace vpr {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

bool LanguageFileParser::nextPhysicalLine(std::string_view& line) {
  if (position_ >= content_.size()) return false;
  const std::size_t end = content_.find('\n', position_);
  if (end == std::string_view::npos) {
    line = content_.substr(position_);
    position_ = content_.size();
  } else {
    line = content_.substr(position_, end - position_);
    position_ = end + 1;
  }
  return true;
}

bool LanguageFileParser::nextLine(std::string& line) {
  std::string_view physical;
  if (!nextPhysicalLine(physical)) return false;
  line.assign(trim(physical));
  return true;
}

bool LanguageFileParser::nextRow(std::string& row) {
  std::string buffer;
  // Quotes count from the row's first comma on: a quote in the key makes the row invalid, not open.
  std::size_t quotes = 0;
  bool inTexts = false;
  std::string_view physical;
  while (nextPhysicalLine(physical)) {
    buffer.append(physical);
    std::string_view texts = physical;
    if (!inTexts) {
      const std::size_t comma = physical.find(',');
      inTexts = comma != std::string_view::npos;
      texts = inTexts ? physical.substr(comma + 1) : std::string_view();
    }
    quotes += static_cast<std::size_t>(std::count(texts.begin(), texts.end(), '"'));
    const bool ends = lfOnly_ ? quotes % 2 == 0 : physical.find('\r') != std::string_view::npos;
    if (ends) {
      row.assign(trim(buffer));
      return true;
    }
    buffer.push_back('\n');
  }
  return false;
}

std::string_view LanguageFileParser::trim(std::string_view row) {
  while (!row.empty() && row.back() == '\r')
    row.remove_suffix(1);
  std::size_t first = 0;
  while (first < row.size() && isBlank(row[first]))
    ++first;
  return row.substr(first);
}

bool LanguageFileParser::split(std::string_view text, Row& row) {
  const std::size_t firstComma = text.find(',');
  if (firstComma == std::string_view::npos) {
    // A row without texts is all key, and a key never holds a quote.
    if (text.find('"') != std::string_view::npos) return false;
    row.key.assign(text);
    row.texts.clear();
    return true;
  }
  const std::string_view key = text.substr(0, firstComma);
  if (key.find('"') != std::string_view::npos) return false;
  row.key.assign(key);
  row.texts.clear();

  // The quote count of the field being built is kept as it grows, so that a long field with an
  // open quote and many commas costs linear time.
  std::string field;
  std::size_t quotes = 0;
  std::size_t position = firstComma + 1;
  for (;;) {
    const std::size_t comma = text.find(',', position);
    const std::string_view piece =
        text.substr(position, comma == std::string_view::npos ? std::string_view::npos : comma - position);
    field.append(piece);
    quotes += static_cast<std::size_t>(std::count(piece.begin(), piece.end(), '"'));
    if (comma == std::string_view::npos) {
      row.texts.push_back(unquote(field));
      return true;
    }
    if (quotes % 2 == 0) {
      row.texts.push_back(unquote(field));
      field.clear();
      quotes = 0;
    } else {
      field.push_back(',');
    }
    position = comma + 1;
  }
}

std::string LanguageFileParser::unquote(std::string_view field) {
  if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
    field = field.substr(1, field.size() - 2);
  std::string text;
  text.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    const char c = field[i];
    if (i + 1 < field.size()) {
      const char next = field[i + 1];
      if (c == '"' && next == '"') {
        text.push_back('"');
        ++i;
        continue;
      }
      if (c == '\\' && next == 't') {
        text.push_back('\t');
        ++i;
        continue;
      }
    }
    text.push_back(c);
  }
  return text;
}

} // namespace vpr
