#pragma once
// The persisted settings of the desktop program: the per-user store of the company "VESKARO"
// and program "VPR40T", section "Backup". Missing or malformed values read as their defaults.

#include "model/RadioImage.h"
#include <QSettings>

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vpr {

// The main window placement as stored in "LastWinPos": placement flags, show state, the
// minimised and maximised positions, and the normal rectangle (right and bottom exclusive).
struct WindowPlacement {
  enum : int { RestoreToMaximized = 2 };
  enum ShowState : int { Normal = 1, Minimized = 2, Maximized = 3 };
  int flags = 0;
  int showState = Normal;
  int minX = -1;
  int minY = -1;
  int maxX = -1;
  int maxY = -1;
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const WindowPlacement&) const = default;
};

class CAppSettings {
public:
  static constexpr int kDefaultLanguage = 1;
  static constexpr int kDefaultComPort = 1;

  CAppSettings();

  // "Language": the language code; 1 when missing or not a number.
  int language() const;
  void setLanguage(int code);
  // "ComPort": 1..20; anything else reads as 1.
  int comPort() const;
  void setComPort(int port);
  // "BackupRadio": back up the radio before each write and after each read; on when missing.
  bool backupRadio() const;
  void setBackupRadio(bool on);
  // "VerifyWrite": read the data back after each write; on when missing.
  bool verifyWrite() const;
  void setVerifyWrite(bool on);
  // "LastFilePath": a folder ending in a separator, or empty when missing.
  QString lastFilePath() const;
  void setLastFilePath(const QString& folder);
  // "LastModel": the 8 model-code bytes, or nothing when missing or malformed.
  std::optional<ModelCode> lastModel() const;
  void setLastModel(const ModelCode& code);
  // "LastWinPos": the window placement, or nothing when missing or malformed.
  std::optional<WindowPlacement> lastWinPos() const;
  void setLastWinPos(const WindowPlacement& placement);

  // "Ports/COM<n>": a device path replacing port n's default device; empty when not set.
  QString portPath(int port) const;

  void sync() { settings_.sync(); }

  // "%02X:%02X:..." with byte 0 first; reading accepts 8 fields of at most two hex digits each
  // from the start of the text and ignores what follows the last field.
  static std::string formatModelCode(const ModelCode& code);
  static std::optional<ModelCode> parseModelCode(const std::string& text);
  // Ten integers separated by ':'; each field is read like "%i" (0x hexadecimal, 0 octal).
  static std::string formatPlacement(const WindowPlacement& placement);
  static std::optional<WindowPlacement> parsePlacement(const std::string& text);

private:
  QString text(const char* key) const;
  mutable QSettings settings_;
};

} // namespace vpr
