#include "cli/ProgramStart.h"

#include "lang/PathText.h"

#include <cstdio>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>

namespace vpr::cli {

std::vector<std::string> ProgramStart::arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i)
    arguments.push_back(PathText::toText(wide[i]));
  LocalFree(wide);
  return arguments;
}

std::string ProgramStart::environmentLanguage() {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  const LCID locale = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
  return LCIDToLocaleName(locale, name, LOCALE_NAME_MAX_LENGTH, 0) > 0 ? PathText::toText(name)
                                                                       : std::string();
}

std::string ProgramStart::programFolder() {
  std::wstring name(MAX_PATH, L'\0');
  DWORD length = 0;
  while ((length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()))) == name.size())
    name.resize(name.size() * 2);
  name.resize(length);
  return length ? PathText::toText(std::filesystem::path(name).parent_path()) : std::string();
}

void ProgramStart::prepareStandardStreams() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  SetConsoleOutputCP(CP_UTF8);
}

} // namespace vpr::cli
