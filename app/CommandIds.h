#pragma once
// Command identifiers of the main window's menus, toolbar, accelerators and tree view bar.
// The numbers are the ones the tree view bar posts and the help contexts are keyed by.

namespace vpr::cmd {

enum : int {
  FileNew = 200,
  FileOpen = 201,
  FileSave = 202,
  FileSaveAs = 203,
  FilePrint = 32794,
  FilePrintAlt = 57607,
  FilePrintPreview = 57609,
  FileExportPdf = 32901,
  AppExit = 207,
  ModelInformation = 32771,
  ChannelInformation = 32824,
  OptionalFeatures = 32820,
  KeyAssignment = 32825,
  TestFrequency = 32787,
  ReadData = 40060,
  WriteData = 40061,
  TestMode = 40064,
  WriteSeveralRadios = 40065,
  MemoryMap = 40006,
  CommunicationPort = 40011,
  TreeView = 40008,
  ToolBar = 59392,
  StatusBar = 59393,
  WindowCascade = 57650,
  WindowTileHorizontal = 57651,
  WindowTileVertical = 57652,
  WindowArrange = 57649,
  CloseAllWindows = 40012,
  HelpTopics = 40069,
  HelpInBrowser = 40610,
  About = 40096,
  FocusTreeView = 32846,
  FileCompareFile = 40651,
  FileCompareRadio = 40652,
  FileRestoreBackup = 40653,
  SetupOptions = 40654,
  EditUndo = 57643,
  EditRedo = 57644,
  ExportConfiguration = 40661,
  ImportConfiguration = 40662,
  ExportChannels = 40663,
  ImportChannels = 40664,
};

} // namespace vpr::cmd
