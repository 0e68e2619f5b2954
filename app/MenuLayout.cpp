#include "app/MenuLayout.h"

#include "app/CommandIds.h"

namespace vpr {

namespace {

constexpr int kSeparator = MenuLayout::kSeparator;

constexpr MenuLayout::Command kCommands[] = {
    {cmd::FileNew, 10003101, 0x11000, "new"},
    {cmd::FileOpen, 10003102, 0x12000, "open"},
    {cmd::FileSave, 10003103, 0x13000, "save"},
    {cmd::FileSaveAs, 10003104, 0x14000, nullptr},
    {cmd::FileCompareFile, 10065031, 0x19000, nullptr},
    {cmd::FileCompareRadio, 10065032, 0x1A000, nullptr},
    {cmd::FileRestoreBackup, 10065033, 0x18000, nullptr},
    {cmd::ExportConfiguration, 10066110, 0x1B000, nullptr},
    {cmd::ImportConfiguration, 10066111, 0x1B000, nullptr},
    {cmd::ExportChannels, 10066112, 0x1C000, nullptr},
    {cmd::ImportChannels, 10066113, 0x1C000, nullptr},
    {cmd::FilePrint, 10003105, 0x15000, "print"},
    {cmd::FilePrintPreview, 10003106, 0x16000, nullptr},
    {cmd::FileExportPdf, 10063004, 0x15000, nullptr},
    {cmd::AppExit, 10003108, 0x17000, nullptr},
    {cmd::ModelInformation, 10003201, 0x20000, nullptr},
    {cmd::EditUndo, 10064001, 0x35000, "undo"},
    {cmd::EditRedo, 10064003, 0x35000, "redo"},
    {cmd::ChannelInformation, 10003314, 0x31000, nullptr},
    {cmd::OptionalFeatures, 10003302, 0x33000, nullptr},
    {cmd::KeyAssignment, 10003301, 0x32000, nullptr},
    {cmd::TestFrequency, 10003307, 0x34000, nullptr},
    {cmd::ReadData, 10003401, 0x51000, "read"},
    {cmd::WriteData, 10003402, 0x52000, "write"},
    {cmd::WriteSeveralRadios, 10003406, 0x55000, nullptr},
    {cmd::TestMode, 10003403, 0x53000, nullptr},
    {cmd::MemoryMap, 10003405, 0x54000, nullptr},
    {cmd::CommunicationPort, 10003601, 0x71000, nullptr},
    {cmd::SetupOptions, 10065040, 0x72000, nullptr},
    {cmd::TreeView, 10003701, 0x81000, nullptr},
    {cmd::ToolBar, 10003702, 0x82000, nullptr},
    {cmd::StatusBar, 10003703, 0x83000, nullptr},
    {cmd::WindowCascade, 10003801, 0x91000, nullptr},
    {cmd::WindowTileHorizontal, 10003802, 0x92000, nullptr},
    {cmd::WindowTileVertical, 10003803, 0x93000, nullptr},
    {cmd::WindowArrange, 10003804, 0x94000, nullptr},
    {cmd::CloseAllWindows, 10003805, 0x95000, nullptr},
    {cmd::HelpTopics, 10003901, -1, nullptr},
    {cmd::HelpInBrowser, 10061009, -1, nullptr},
    {cmd::About, 10003902, -1, "about"},
    {cmd::FocusTreeView, 0, -1, nullptr},
};

const MenuLayout::Menu kFileMenu{10003001,
                                 {cmd::FileNew, cmd::FileOpen, cmd::FileSave, cmd::FileSaveAs, kSeparator,
                                  cmd::FileCompareFile, cmd::FileCompareRadio, cmd::FileRestoreBackup,
                                  kSeparator, cmd::ExportConfiguration, cmd::ImportConfiguration,
                                  cmd::ExportChannels, cmd::ImportChannels, kSeparator, cmd::FilePrint,
                                  cmd::FilePrintPreview, cmd::FileExportPdf, kSeparator, cmd::AppExit}};
const MenuLayout::Menu kModelMenu{10003002, {cmd::ModelInformation}};
const MenuLayout::Menu kEditMenu{10003003,
                                 {cmd::EditUndo, cmd::EditRedo, kSeparator, cmd::ChannelInformation,
                                  kSeparator, cmd::OptionalFeatures, cmd::KeyAssignment, kSeparator,
                                  cmd::TestFrequency}};
const MenuLayout::Menu kProgramMenu{
    10003004, {cmd::ReadData, cmd::WriteData, cmd::WriteSeveralRadios, cmd::TestMode, cmd::MemoryMap}};
const MenuLayout::Menu kSetupMenu{10003006, {cmd::CommunicationPort, cmd::SetupOptions}};
const MenuLayout::Menu kViewMenu{10003007, {cmd::TreeView, kSeparator, cmd::ToolBar, cmd::StatusBar}};
const MenuLayout::Menu kWindowMenu{10003008,
                                   {cmd::WindowCascade, cmd::WindowTileHorizontal, cmd::WindowTileVertical,
                                    cmd::WindowArrange, kSeparator, cmd::CloseAllWindows}};
const MenuLayout::Menu kHelpMenu{10003009, {cmd::HelpTopics, cmd::HelpInBrowser, kSeparator, cmd::About}};

const MenuLayout::Menu* const kBarMenus[] = {&kFileMenu,    &kModelMenu, &kEditMenu,
                                             &kProgramMenu, &kSetupMenu, &kViewMenu};

constexpr MenuLayout::ToolButton kToolButtons[] = {
    {cmd::FileNew, 10005001},  {cmd::FileOpen, 10005002},  {cmd::FileSave, 10005003},
    {kSeparator, 0},           {cmd::EditUndo, 0},         {cmd::EditRedo, 0},
    {kSeparator, 0},           {cmd::FilePrint, 10005004}, {kSeparator, 0},
    {cmd::ReadData, 10005005}, {cmd::WriteData, 10005006}, {kSeparator, 0},
    {cmd::About, 10001009},
};

constexpr int kCheckable[] = {cmd::TreeView, cmd::ToolBar, cmd::StatusBar};

} // namespace

std::span<const MenuLayout::Command> MenuLayout::commands() {
  return kCommands;
}

const MenuLayout::Command* MenuLayout::find(int command) {
  for (const Command& info : kCommands)
    if (info.command == command) return &info;
  return nullptr;
}

std::span<const MenuLayout::Menu* const> MenuLayout::barMenus() {
  return kBarMenus;
}

const MenuLayout::Menu& MenuLayout::windowMenu() {
  return kWindowMenu;
}

const MenuLayout::Menu& MenuLayout::helpMenu() {
  return kHelpMenu;
}

std::span<const MenuLayout::ToolButton> MenuLayout::toolButtons() {
  return kToolButtons;
}

std::span<const MenuLayout::Keys> MenuLayout::keys() {
  // The numeric pad's 0 is a key of its own: Ctrl+0 and Alt+0 take it as well.
  static const Keys kKeys[] = {
      {cmd::FileNew, {QKeySequence(Qt::CTRL | Qt::Key_N)}},
      {cmd::FileOpen, {QKeySequence(Qt::CTRL | Qt::Key_O)}},
      {cmd::FileSave, {QKeySequence(Qt::CTRL | Qt::Key_S)}},
      {cmd::FilePrint, {QKeySequence(Qt::CTRL | Qt::Key_P)}},
      {cmd::ReadData, {QKeySequence(Qt::CTRL | Qt::Key_R)}},
      {cmd::WriteData, {QKeySequence(Qt::CTRL | Qt::Key_W)}},
      {cmd::TestMode, {QKeySequence(Qt::CTRL | Qt::Key_T)}},
      {cmd::MemoryMap, {QKeySequence(Qt::CTRL | Qt::Key_M)}},
      {cmd::EditUndo, {QKeySequence(Qt::CTRL | Qt::Key_Z)}},
      {cmd::EditRedo, {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}},
      {cmd::TreeView,
       {QKeySequence(Qt::CTRL | Qt::Key_0),
        QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_0))}},
      {cmd::FocusTreeView,
       {QKeySequence(Qt::ALT | Qt::Key_0),
        QKeySequence(QKeyCombination(Qt::AltModifier | Qt::KeypadModifier, Qt::Key_0))}},
  };
  return kKeys;
}

std::span<const int> MenuLayout::checkable() {
  return kCheckable;
}

} // namespace vpr
