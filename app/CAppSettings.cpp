#include "app/CAppSettings.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace vpr {

namespace {

constexpr const char* kLanguage = "Backup/Language";
constexpr const char* kComPort = "Backup/ComPort";
constexpr const char* kLastFilePath = "Backup/LastFilePath";
constexpr const char* kLastModel = "Backup/LastModel";
constexpr const char* kLastWinPos = "Backup/LastWinPos";
constexpr const char* kBackupRadio = "Backup/BackupRadio";
constexpr const char* kVerifyWrite = "Backup/VerifyWrite";

std::optional<int> integerValue(const QVariant& value) {
  if (!value.isValid()) return std::nullopt;
  bool ok = false;
  const int number = value.toInt(&ok);
  if (!ok) return std::nullopt;
  return number;
}

// Reads one field the way "%i" does: leading white space, an optional sign, then a decimal,
// 0x-hexadecimal or 0-octal number. A value outside the int range counts as unreadable.
std::optional<int> readScanfInteger(const char*& cursor) {
  while (std::isspace(static_cast<unsigned char>(*cursor)))
    ++cursor;
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(cursor, &end, 0);
  if (end == cursor || errno == ERANGE || value < INT_MIN || value > INT_MAX) return std::nullopt;
  cursor = end;
  return static_cast<int>(value);
}

} // namespace

CAppSettings::CAppSettings()
    : settings_(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("VESKARO"),
                QStringLiteral("VPR40T")) {}

QString CAppSettings::text(const char* key) const {
  return settings_.value(QLatin1String(key)).toString();
}

int CAppSettings::language() const {
  return integerValue(settings_.value(QLatin1String(kLanguage))).value_or(kDefaultLanguage);
}

void CAppSettings::setLanguage(int code) {
  settings_.setValue(QLatin1String(kLanguage), code);
}

int CAppSettings::comPort() const {
  const int port = integerValue(settings_.value(QLatin1String(kComPort))).value_or(kDefaultComPort);
  return port >= 1 && port <= 20 ? port : kDefaultComPort;
}

void CAppSettings::setComPort(int port) {
  settings_.setValue(QLatin1String(kComPort), port);
}

bool CAppSettings::backupRadio() const {
  return integerValue(settings_.value(QLatin1String(kBackupRadio))).value_or(1) != 0;
}

void CAppSettings::setBackupRadio(bool on) {
  settings_.setValue(QLatin1String(kBackupRadio), on ? 1 : 0);
}

bool CAppSettings::verifyWrite() const {
  return integerValue(settings_.value(QLatin1String(kVerifyWrite))).value_or(1) != 0;
}

void CAppSettings::setVerifyWrite(bool on) {
  settings_.setValue(QLatin1String(kVerifyWrite), on ? 1 : 0);
}

QString CAppSettings::lastFilePath() const {
  return text(kLastFilePath);
}

void CAppSettings::setLastFilePath(const QString& folder) {
  settings_.setValue(QLatin1String(kLastFilePath), folder);
}

QString CAppSettings::portPath(int port) const {
  return settings_.value(QStringLiteral("Ports/COM%1").arg(port)).toString();
}

std::optional<ModelCode> CAppSettings::lastModel() const {
  return parseModelCode(text(kLastModel).toStdString());
}

void CAppSettings::setLastModel(const ModelCode& code) {
  settings_.setValue(QLatin1String(kLastModel), QString::fromStdString(formatModelCode(code)));
}

std::optional<WindowPlacement> CAppSettings::lastWinPos() const {
  return parsePlacement(text(kLastWinPos).toStdString());
}

void CAppSettings::setLastWinPos(const WindowPlacement& placement) {
  settings_.setValue(QLatin1String(kLastWinPos), QString::fromStdString(formatPlacement(placement)));
}

std::string CAppSettings::formatModelCode(const ModelCode& code) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02X:%02X:%02X:%02X:%02X:%02X:%02X:%02X", code[0], code[1], code[2],
                code[3], code[4], code[5], code[6], code[7]);
  return buffer;
}

std::optional<ModelCode> CAppSettings::parseModelCode(const std::string& text) {
  if (text.empty()) return std::nullopt;
  unsigned int field[8];
  if (std::sscanf(text.c_str(), "%2X:%2X:%2X:%2X:%2X:%2X:%2X:%2X", &field[0], &field[1], &field[2], &field[3],
                  &field[4], &field[5], &field[6], &field[7]) != 8)
    return std::nullopt;
  ModelCode code{};
  for (std::size_t i = 0; i < code.size(); ++i)
    code[i] = static_cast<std::uint8_t>(field[i]);
  return code;
}

std::string CAppSettings::formatPlacement(const WindowPlacement& p) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, "%i:%i:%i:%i:%i:%i:%i:%i:%i:%i", p.flags, p.showState, p.minX, p.minY,
                p.maxX, p.maxY, p.left, p.top, p.right, p.bottom);
  return buffer;
}

std::optional<WindowPlacement> CAppSettings::parsePlacement(const std::string& text) {
  if (text.empty()) return std::nullopt;
  int field[10];
  const char* cursor = text.c_str();
  for (int i = 0; i < 10; ++i) {
    if (i > 0) {
      if (*cursor != ':') return std::nullopt;
      ++cursor;
    }
    const auto value = readScanfInteger(cursor);
    if (!value) return std::nullopt;
    field[i] = *value;
  }
  return WindowPlacement{field[0], field[1], field[2], field[3], field[4],
                         field[5], field[6], field[7], field[8], field[9]};
}

} // namespace vpr
