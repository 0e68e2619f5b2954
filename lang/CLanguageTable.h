#pragma once
// The text table: every caption, label and message of the program is looked up here by its
// eight-digit text identifier. It is filled once at start-up from the language file "vpr40t.lng",
// which holds one row per identifier and one column per language.

#include "lang/UserInterface.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vpr {

class CLanguageTable {
public:
  // Reasons of the last failed load; errorCode() is None while nothing failed.
  enum ErrorCode : std::int32_t {
    None = -1,
    NotFound = 0,        // no language file in any searched folder
    HeaderMissing = 1,   // the "*Language" or the "*Font" row is missing
    RequiredMissing = 3, // a text identifier the program needs has no row
    CannotRead = 4,      // the file could not be opened or read
    QuotedKey = 5,       // a row's key held a double quote (the row was skipped)
  };

  // One supported language: the code stored in the settings, the column name in the file,
  // the identifier of the language's own name, its help file, its ISO 639-1 code (which the
  // environment's locale names start with) and the decimal separator its readers expect.
  struct LanguageCode {
    int code;
    const char* name;
    int nameTextId;
    const char* helpFile;
    const char* isoCode;
    char decimalSeparator;
  };

  static constexpr const char* kFileName = "vpr40t.lng";
  static constexpr const char* kDumpFileName = "LanguageAnalys.dump";
  static constexpr const char* kCannotReadMessage =
      "Can't read language file.  Please install this software again.";
  static constexpr const char* kDamagedMessage =
      "Language file has been damaged.  Please install this software again.";
  // Files beyond this size are refused as unreadable; a real language file is a few dozen kilobytes.
  static constexpr std::uintmax_t kMaxFileSize = 16u * 1024u * 1024u;

  CLanguageTable();

  // Turns identifier mode on when any command-line word, the program path included, is "_db"
  // in any letter case.
  void applyCommandLine(int argc, const char* const argv[]);
  // Identifier mode: every identifier that has a row reads "ID:<identifier>", and a load writes
  // the analysis dump.
  void setIdentifierMode(bool on);
  bool identifierMode() const { return identifierMode_; }

  // The folders searched after the caller's folder: by default the current folder, the installed
  // data folder and the source tree's res/ folder (so that a build tree finds the file).
  void setFallbackFolders(std::vector<std::string> folders) { fallbackFolders_ = std::move(folders); }
  // Where identifier mode writes the analysis dump; the current folder when empty.
  void setDumpFolder(std::string folder) { dumpFolder_ = std::move(folder); }

  // Every path here is UTF-8 text (see PathText), as on every platform the programs run on.
  // Finds the language file (programFolder first, then the fallback folders), parses and verifies
  // it and selects the column named languageName (column 0 when no column has that name). On
  // failure it shows the fixed failure message through ui and returns false.
  bool loadLanguageFile(const std::string& languageName, UserInterface& ui,
                        const std::string& programFolder = {});
  // The same for a file given by its full path (no search).
  bool loadLanguageFileAt(const std::string& path, const std::string& languageName, UserInterface& ui);

  // The text of an identifier in the selected language (0 stands for 10000001). A row without a
  // text in the selected column (a translation that left it out) gives its first column's text;
  // an identifier without a row gives the empty text.
  const std::string& textOf(std::int32_t id) const;
  // Whether the identifier has a row.
  bool hasText(std::int32_t id) const { return records_.count(id == 0 ? kFirstTextId : id) != 0; }

  // The name of the selected language column, or the empty text.
  std::string currentLanguageName() const;
  // Whether the loaded file has a column of that name.
  bool hasLanguageColumn(const std::string& name) const;
  std::int32_t errorCode() const { return errorCode_; }
  const std::string& filePath() const { return filePath_; }
  const std::vector<std::string>& languageNames() const { return languageNames_; }
  const std::vector<std::string>& fontNames() const { return fontNames_; }

  // The identifiers every language file must hold, in the order they are checked.
  static const std::vector<std::int32_t>& requiredIdentifiers();

  // Lookups in the table of supported languages.
  static const std::vector<LanguageCode>& languageCodes();
  static std::string languageNameOfCode(int code);        // empty for an unknown code
  static std::string helpFileOfCode(int code);            // empty for an unknown code
  static int codeOfLanguageName(const std::string& name); // 0 for an unknown name
  // The supported language a user or the environment names: its column name or ISO code in any
  // letter case ("German", "de"), or a locale name that starts with the ISO code ("de_DE.UTF-8",
  // "de-AT", "de@euro"). Nothing for an unsupported language, "C" and "POSIX".
  static const LanguageCode* findLanguage(std::string_view wanted);

private:
  static constexpr std::int32_t kFirstTextId = 10000001;

  struct Record {
    std::string key;
    std::vector<std::string> texts;
    std::string shown; // the text textOf returns for the selected column and mode
  };

  std::string findFile(const std::string& programFolder) const;
  bool parse(const std::string& content);
  void writeDump() const;
  void refreshShownTexts();
  bool fail(std::int32_t code, UserInterface& ui);

  std::string filePath_;
  std::string languageRowKey_;
  std::vector<std::string> languageNames_;
  std::string fontRowKey_;
  std::vector<std::string> fontNames_;
  std::int32_t errorCode_ = None;
  std::uint32_t languageIndex_ = 0;
  bool identifierMode_ = false;
  std::map<std::int32_t, Record> records_;
  std::vector<std::string> fallbackFolders_;
  std::string dumpFolder_;
};

// The one text table of the process.
CLanguageTable& languageTable();
// The text of an identifier from the process-wide table; the empty text before a load.
const std::string& textOf(std::int32_t id);

} // namespace vpr
