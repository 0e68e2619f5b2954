#include "lang/CLanguageTable.h"

#include "lang/LanguageFileParser.h"
#include "lang/PathText.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

namespace vpr {

namespace fs = std::filesystem;

namespace {

const std::string kEmpty;

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::vector<std::string> defaultFallbackFolders() {
  return {".", VPR_DATA_DIR, VPR_SOURCE_RES_DIR};
}

// Reads a text key "^#" followed by exactly eight decimal digits; false for any other key.
bool identifierOfKey(std::string_view key, std::int32_t& id) {
  constexpr std::string_view marker = "^#";
  if (!key.starts_with(marker)) return false;
  const std::string_view digits = key.substr(marker.size());
  if (digits.size() != 8) return false;
  std::int32_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  id = value;
  return true;
}

// A row's text in a column; a row without a text there (a translation that left it out) gives
// its first column's text.
const std::string& columnText(const std::vector<std::string>& texts, std::uint32_t column) {
  if (column < texts.size() && !texts[column].empty()) return texts[column];
  return texts.empty() ? kEmpty : texts.front();
}

} // namespace

CLanguageTable::CLanguageTable() : fallbackFolders_(defaultFallbackFolders()) {}

void CLanguageTable::applyCommandLine(int argc, const char* const argv[]) {
  for (int i = 0; i < argc; ++i) {
    if (argv[i] && equalsIgnoringCase(argv[i], "_db")) setIdentifierMode(true);
  }
}

void CLanguageTable::setIdentifierMode(bool on) {
  identifierMode_ = on;
  refreshShownTexts();
}

std::string CLanguageTable::findFile(const std::string& programFolder) const {
  std::vector<std::string> folders;
  if (!programFolder.empty()) folders.push_back(programFolder);
  folders.insert(folders.end(), fallbackFolders_.begin(), fallbackFolders_.end());
  for (const auto& folder : folders) {
    std::error_code ec;
    const fs::path candidate = PathText::toPath(folder) / kFileName;
    if (fs::is_regular_file(candidate, ec)) {
      const fs::path absolute = fs::absolute(candidate, ec);
      return PathText::toText((ec ? candidate : absolute).lexically_normal());
    }
  }
  return {};
}

bool CLanguageTable::fail(std::int32_t code, UserInterface& ui) {
  errorCode_ = code;
  records_.clear();
  MessageRequest request;
  request.kind = MessageKind::Product;
  request.caption = "VPR-40T";
  request.text = code == NotFound ? kCannotReadMessage : kDamagedMessage;
  request.buttons = MessageButtons::Ok;
  request.icon = MessageIcon::Stop;
  ui.showMessage(request);
  return false;
}

bool CLanguageTable::loadLanguageFile(const std::string& languageName, UserInterface& ui,
                                      const std::string& programFolder) {
  const std::string path = findFile(programFolder);
  if (path.empty()) {
    filePath_.clear();
    return fail(NotFound, ui);
  }
  return loadLanguageFileAt(path, languageName, ui);
}

bool CLanguageTable::loadLanguageFileAt(const std::string& path, const std::string& languageName,
                                        UserInterface& ui) {
  errorCode_ = None;
  filePath_ = path;
  const fs::path file = PathText::toPath(path);
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return fail(fs::exists(file, ec) ? CannotRead : NotFound, ui);
  const std::uintmax_t size = fs::file_size(file, ec);
  if (ec || size > kMaxFileSize) return fail(CannotRead, ui);

  std::ifstream in(file, std::ios::binary);
  if (!in) return fail(CannotRead, ui);
  std::string content(static_cast<std::size_t>(size), '\0');
  in.read(content.data(), static_cast<std::streamsize>(size));
  if (in.bad() || static_cast<std::uintmax_t>(in.gcount()) != size) return fail(CannotRead, ui);
  in.close();

  if (!parse(content)) return fail(HeaderMissing, ui);

  bool complete = true;
  for (const std::int32_t id : requiredIdentifiers()) {
    if (!records_.count(id)) complete = false;
  }
  if (!complete) return fail(RequiredMissing, ui);

  if (identifierMode_) writeDump();

  // A "*Language" row without any language column leaves nothing to select: the file is as
  // damaged as one without the row, and the user is told so rather than left without a word.
  if (languageNames_.empty()) return fail(HeaderMissing, ui);
  const auto column = std::find(languageNames_.begin(), languageNames_.end(), languageName);
  languageIndex_ =
      column == languageNames_.end() ? 0 : static_cast<std::uint32_t>(column - languageNames_.begin());
  refreshShownTexts();
  // A skipped row does not make the load fail; the next call sees a clean state.
  errorCode_ = None;
  return true;
}

bool CLanguageTable::parse(const std::string& content) {
  records_.clear();
  languageRowKey_.clear();
  languageNames_.clear();
  fontRowKey_.clear();
  fontNames_.clear();

  LanguageFileParser parser(content);
  LanguageFileParser::Row row;

  // Header pass: physical lines, no joining; stops at the first other row once both are seen.
  bool haveLanguage = false;
  bool haveFont = false;
  std::string line;
  while (parser.nextLine(line)) {
    const bool isLanguage = line.starts_with("*Language");
    const bool isFont = line.starts_with("*Font");
    if (!isLanguage && !isFont) {
      if (haveLanguage && haveFont) break;
      continue;
    }
    if (!LanguageFileParser::split(line, row)) {
      errorCode_ = QuotedKey;
      continue;
    }
    if (isLanguage && !haveLanguage) {
      languageRowKey_ = std::move(row.key);
      languageNames_ = std::move(row.texts);
      haveLanguage = true;
    } else if (isFont && !haveFont) {
      fontRowKey_ = std::move(row.key);
      fontNames_ = std::move(row.texts);
      haveFont = true;
    }
  }
  if (!haveLanguage || !haveFont) return false;

  // Text pass: joined rows; the first row of an identifier wins.
  parser.rewind();
  std::string text;
  while (parser.nextRow(text)) {
    if (!text.starts_with("^#")) continue;
    if (!LanguageFileParser::split(text, row)) {
      errorCode_ = QuotedKey;
      continue;
    }
    std::int32_t id = 0;
    if (!identifierOfKey(row.key, id) || records_.count(id)) continue;
    records_.emplace(id, Record{std::move(row.key), std::move(row.texts), {}});
  }
  return true;
}

void CLanguageTable::writeDump() const {
  const fs::path folder = dumpFolder_.empty() ? fs::path(".") : PathText::toPath(dumpFolder_);
  std::ofstream out(folder / kDumpFileName, std::ios::binary | std::ios::trunc);
  if (!out) return;
  out << languageRowKey_;
  for (const auto& name : languageNames_)
    out << ',' << name;
  out << "\r\n" << fontRowKey_;
  for (const auto& name : fontNames_)
    out << ',' << name;
  out << "\r\n";
  for (const auto& [id, record] : records_) {
    out << id;
    for (const auto& text : record.texts)
      out << ',' << text;
    out << "\r\n";
  }
}

void CLanguageTable::refreshShownTexts() {
  for (auto& [id, record] : records_) {
    if (identifierMode_)
      record.shown = "ID:" + std::to_string(id);
    else
      record.shown = columnText(record.texts, languageIndex_);
  }
}

const std::string& CLanguageTable::textOf(std::int32_t id) const {
  const auto it = records_.find(id == 0 ? kFirstTextId : id);
  return it == records_.end() ? kEmpty : it->second.shown;
}

std::string CLanguageTable::currentLanguageName() const {
  return languageIndex_ < languageNames_.size() ? languageNames_[languageIndex_] : std::string();
}

bool CLanguageTable::hasLanguageColumn(const std::string& name) const {
  return std::find(languageNames_.begin(), languageNames_.end(), name) != languageNames_.end();
}

const std::vector<std::int32_t>& CLanguageTable::requiredIdentifiers() {
  static const std::vector<std::int32_t> ids = [] {
    // Runs of consecutive identifiers, first and last.
    static constexpr std::pair<std::int32_t, std::int32_t> runs[] = {
        {10000001, 10000001}, {10001001, 10001009}, {10001014, 10001014}, {10001101, 10001112},
        {10002001, 10002010}, {10002020, 10002020}, {10002022, 10002023}, {10002028, 10002028},
        {10002030, 10002031}, {10002033, 10002038}, {10002501, 10002501}, {10003001, 10003001},
        {10003101, 10003106}, {10003108, 10003108}, {10003002, 10003002}, {10003201, 10003201},
        {10003003, 10003003}, {10003301, 10003302}, {10003307, 10003307}, {10003314, 10003314},
        {10003004, 10003004}, {10003401, 10003403}, {10003405, 10003405}, {10003006, 10003006},
        {10003601, 10003601}, {10003007, 10003007}, {10003701, 10003703}, {10003008, 10003008},
        {10003801, 10003805}, {10003009, 10003009}, {10003901, 10003902}, {10004001, 10004005},
        {10005001, 10005006}, {10006001, 10006001}, {10007001, 10007002}, {10008001, 10008003},
        {10009001, 10009006}, {10010004, 10010004}, {10010009, 10010009}, {10010023, 10010023},
        {10010025, 10010025}, {10010027, 10010027}, {10010156, 10010157}, {10010160, 10010161},
        {10012001, 10012002}, {10013001, 10013004}, {10014001, 10014005}, {10017001, 10017003},
        {10017012, 10017013}, {10018001, 10018001}, {10018003, 10018003}, {10019001, 10019002},
        {10020001, 10020002}, {10022001, 10022001}, {10023001, 10023009}, {10023015, 10023015},
        {10024001, 10024002}, {10025001, 10025003}, {10026001, 10026008}, {10026010, 10026014},
        {10026016, 10026017}, {10026021, 10026021}, {10026026, 10026027}, {10026031, 10026031},
        {10026061, 10026062}, {10026081, 10026081}, {10026107, 10026108}, {10027001, 10027002},
        {10027010, 10027010}, {10027012, 10027012}, {10028001, 10028003}, {10029001, 10029001},
        {10029009, 10029014}, {10030001, 10030001}, {10030007, 10030013}, {10030028, 10030028},
        {10031050, 10031051}, {10031060, 10031060}, {10041001, 10041005}, {10101001, 10101001},
        {10101501, 10101504}, {19000001, 19000002},
    };
    std::vector<std::int32_t> list;
    for (const auto& [first, last] : runs) {
      for (std::int32_t id = first; id <= last; ++id)
        list.push_back(id);
    }
    return list;
  }();
  return ids;
}

const std::vector<CLanguageTable::LanguageCode>& CLanguageTable::languageCodes() {
  static const std::vector<LanguageCode> codes = {
      {1, "English", 19000001, "vpr40t_en.chm", "en", '.'},
      {2, "German", 19000003, "vpr40t_de.chm", "de", ','},
  };
  return codes;
}

std::string CLanguageTable::languageNameOfCode(int code) {
  for (const auto& row : languageCodes()) {
    if (row.code == code) return row.name;
  }
  return {};
}

std::string CLanguageTable::helpFileOfCode(int code) {
  for (const auto& row : languageCodes()) {
    if (row.code == code) return row.helpFile;
  }
  return {};
}

int CLanguageTable::codeOfLanguageName(const std::string& name) {
  for (const auto& row : languageCodes()) {
    if (name == row.name) return row.code;
  }
  return 0;
}

const CLanguageTable::LanguageCode* CLanguageTable::findLanguage(std::string_view wanted) {
  for (const auto& row : languageCodes()) {
    if (equalsIgnoringCase(wanted, row.name)) return &row;
  }
  // A locale name: language, then territory, code set or modifier after '_', '-', '.' or '@'.
  const std::string_view language = wanted.substr(0, wanted.find_first_of("_-.@"));
  for (const auto& row : languageCodes()) {
    if (equalsIgnoringCase(language, row.isoCode)) return &row;
  }
  return nullptr;
}

CLanguageTable& languageTable() {
  static CLanguageTable table;
  return table;
}

const std::string& textOf(std::int32_t id) {
  return languageTable().textOf(id);
}

} // namespace vpr
