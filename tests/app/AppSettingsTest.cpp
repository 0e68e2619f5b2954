// The stored settings: names, formats, defaults, and the rule that a text value counts only
// when all its fields read.
#include "app/AppTestSupport.h"
#include "app/CAppSettings.h"

#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

using vpr::CAppSettings;
using vpr::WindowPlacement;

namespace {

class AppSettingsTest : public ::testing::Test {
protected:
  void SetUp() override { folder = vpr::test::isolateSettings(); }
  void store(const char* key, const QVariant& value) {
    QSettings raw(QSettings::NativeFormat, QSettings::UserScope, "VESKARO", "VPR40T");
    raw.setValue(QLatin1String("Backup/") + QLatin1String(key), value);
  }
  QString folder;
};

TEST_F(AppSettingsTest, AnEmptyStoreReadsAsTheDefaults) {
  CAppSettings settings;
  EXPECT_EQ(settings.language(), 1);
  EXPECT_EQ(settings.comPort(), 1);
  EXPECT_TRUE(settings.lastFilePath().isEmpty());
  EXPECT_FALSE(settings.lastModel());
  EXPECT_FALSE(settings.lastWinPos());
}

TEST_F(AppSettingsTest, PortNumbersOutsideOneToTwentyReadAsPortOne) {
  for (int stored : {0, 21, -3, 1000}) {
    store("ComPort", stored);
    EXPECT_EQ(CAppSettings().comPort(), 1) << stored;
  }
  store("ComPort", 20);
  EXPECT_EQ(CAppSettings().comPort(), 20);
  store("ComPort", "seven");
  EXPECT_EQ(CAppSettings().comPort(), 1);
}

TEST_F(AppSettingsTest, ValuesRoundTripUnderTheirNamesAndFormats) {
  {
    CAppSettings settings;
    settings.setLanguage(1);
    settings.setComPort(7);
    settings.setLastFilePath("/data/radios/");
    settings.setLastModel({0x00, 0x00, 0x20, '0', '1', '4', '4', 'P'});
    settings.setLastWinPos({0, 1, -1, -1, -1, -1, 10, 20, 810, 620});
    settings.sync();
  }
  QSettings raw(QSettings::NativeFormat, QSettings::UserScope, "VESKARO", "VPR40T");
  EXPECT_EQ(raw.value("Backup/ComPort").toInt(), 7);
  EXPECT_EQ(raw.value("Backup/LastModel").toString(), "00:00:20:30:31:34:34:50");
  EXPECT_EQ(raw.value("Backup/LastWinPos").toString(), "0:1:-1:-1:-1:-1:10:20:810:620");
  EXPECT_EQ(raw.value("Backup/LastFilePath").toString(), "/data/radios/");

  CAppSettings again;
  EXPECT_EQ(again.comPort(), 7);
  EXPECT_EQ(again.lastFilePath(), "/data/radios/");
  EXPECT_EQ(again.lastModel(), (vpr::ModelCode{0x00, 0x00, 0x20, '0', '1', '4', '4', 'P'}));
  EXPECT_EQ(again.lastWinPos(), (WindowPlacement{0, 1, -1, -1, -1, -1, 10, 20, 810, 620}));
}

TEST_F(AppSettingsTest, AModelCodeNeedsEightHexFields) {
  EXPECT_FALSE(CAppSettings::parseModelCode("00:00:20:30:31:34:34"));
  EXPECT_FALSE(CAppSettings::parseModelCode(""));
  EXPECT_FALSE(CAppSettings::parseModelCode("00:00:20:30:31:34:34:zz"));
  EXPECT_EQ(CAppSettings::parseModelCode("0:0:20:30:31:34:34:50 and more"),
            (vpr::ModelCode{0x00, 0x00, 0x20, '0', '1', '4', '4', 'P'}));
  EXPECT_EQ(CAppSettings::parseModelCode("ab:CD:20:30:31:34:34:50"),
            (vpr::ModelCode{0xAB, 0xCD, 0x20, '0', '1', '4', '4', 'P'}));
  // A field holds at most two digits: the third digit is where the ':' was expected.
  EXPECT_FALSE(CAppSettings::parseModelCode("000:00:20:30:31:34:34:50"));
}

TEST_F(AppSettingsTest, APlacementNeedsTenIntegersReadLikePercentI) {
  EXPECT_FALSE(CAppSettings::parsePlacement("0:1:-1:-1:-1:-1:10:20:810"));
  EXPECT_FALSE(CAppSettings::parsePlacement("0:1:-1:-1:-1:-1:10:20:810:x"));
  EXPECT_FALSE(CAppSettings::parsePlacement("0:1:-1:-1:-1:-1:10:20:810:99999999999"));
  const auto placement = CAppSettings::parsePlacement("0x2:3:-1:-1:-1:-1:010:20:810:620;trailing");
  ASSERT_TRUE(placement);
  EXPECT_EQ(placement->flags, 2);
  EXPECT_EQ(placement->showState, 3);
  EXPECT_EQ(placement->left, 8) << "a leading 0 reads as octal";
  EXPECT_EQ(placement->bottom, 620);
}

TEST_F(AppSettingsTest, NineNumbersInTheStoreGiveNoPlacement) {
  store("LastWinPos", "0:1:-1:-1:-1:-1:10:20:810");
  EXPECT_FALSE(CAppSettings().lastWinPos());
  store("LastModel", "00:00:20:30:31:34:34");
  EXPECT_FALSE(CAppSettings().lastModel());
}

} // namespace
