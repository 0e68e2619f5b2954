# The Windows installer (NSIS, built on Linux with Debian's makensis): VPR-40T-<version>-win64.exe
# installs the programs, the language file and the manual into Program Files, adds a Start menu
# entry, makes .dat files open in the program and lists an uninstaller among the system's Apps.
# Installing over an older version runs its uninstaller first (silently with /S), which removes
# only what it installed: the user's settings (HKEY_CURRENT_USER\Software\VESKARO\VPR40T) and data
# files (Documents) stay.
set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_FILE_NAME "VPR-40T-${PROJECT_VERSION}-win64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "VPR-40T")
# The installer's own key below Software\Veskaro; it must differ from the program's settings key
# (VPR40T), which the uninstaller would otherwise delete with its own.
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "VPR-40T")
set(CPACK_NSIS_PACKAGE_NAME "VPR-40T")
set(CPACK_NSIS_DISPLAY_NAME "VPR-40T ${PROJECT_VERSION}")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(CPACK_NSIS_MUI_ICON "${CMAKE_SOURCE_DIR}/res/windows/vpr40t.ico")
set(CPACK_NSIS_MUI_UNIICON "${CMAKE_SOURCE_DIR}/res/windows/vpr40t.ico")
set(CPACK_NSIS_INSTALLED_ICON_NAME "vpr40t.exe")
set(CPACK_NSIS_UNINSTALL_NAME "Uninstall")
set(CPACK_NSIS_URL_INFO_ABOUT "")
set(CPACK_RESOURCE_FILE_LICENSE "${CMAKE_SOURCE_DIR}/res/windows/license.txt")
# Start menu: one entry for the desktop program.
set(CPACK_PACKAGE_EXECUTABLES "vpr40t;VPR-40T")
# The data file type: a ProgID that opens in the program, offered for .dat; .dat's default
# program is set only where no other program has claimed it, and given back on uninstall.
set(vpr_progid "VPR40T.DataFile")
set(vpr_classes "Software\\\\Classes")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
  WriteRegStr HKLM '${vpr_classes}\\\\${vpr_progid}' '' 'VPR-40T data file'
  WriteRegStr HKLM '${vpr_classes}\\\\${vpr_progid}\\\\DefaultIcon' '' '$INSTDIR\\\\vpr40t.exe,0'
  WriteRegStr HKLM '${vpr_classes}\\\\${vpr_progid}\\\\shell\\\\open\\\\command' '' '\\\"$INSTDIR\\\\vpr40t.exe\\\" \\\"%1\\\"'
  WriteRegStr HKLM '${vpr_classes}\\\\.dat\\\\OpenWithProgids' '${vpr_progid}' ''
  ReadRegStr $0 HKLM '${vpr_classes}\\\\.dat' ''
  StrCmp $0 '' 0 +2
    WriteRegStr HKLM '${vpr_classes}\\\\.dat' '' '${vpr_progid}'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "
  DeleteRegKey HKLM '${vpr_classes}\\\\${vpr_progid}'
  DeleteRegValue HKLM '${vpr_classes}\\\\.dat\\\\OpenWithProgids' '${vpr_progid}'
  ReadRegStr $0 HKLM '${vpr_classes}\\\\.dat' ''
  StrCmp $0 '${vpr_progid}' 0 +2
    DeleteRegValue HKLM '${vpr_classes}\\\\.dat' ''
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
")
include(CPack)
