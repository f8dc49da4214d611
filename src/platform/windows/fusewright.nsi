; The setup program: installs the staged Windows program for every user into
; Program Files\Fusewright, with a Start-menu entry, an optional desktop
; shortcut and an uninstaller listed in "Apps & features".
; makensis -INPUTCHARSET UTF8 -DSTAGE=<folder> -DPRODUCT=<product.nsh>
;          -DFILES=<uninstall list> -DSIZE_KB=<n> -DOUTFILE=<setup.exe> fusewright.nsi
Target amd64-unicode
SetCompressor /SOLID lzma
!include "${PRODUCT}"   ; VERSION, PUBLISHER
!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Fusewright"

Name "Fusewright"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Fusewright"
RequestExecutionLevel admin
BrandingText "${PUBLISHER}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "Fusewright"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=2052 "FileDescription" "Fusewright 安装程序"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Copyright © 2026 ${PUBLISHER}"

!define MUI_ICON "${__FILEDIR__}/fusewright.ico"
!define MUI_UNICON "${__FILEDIR__}/fusewright.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Section "Fusewright 程序文件" SecProgram
  SectionIn RO
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File /r "${STAGE}/*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Fusewright.lnk" "$INSTDIR\fusewright.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Fusewright"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\fusewright.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "桌面快捷方式" SecDesktop
  SetShellVarContext all
  CreateShortCut "$DESKTOP\Fusewright.lnk" "$INSTDIR\fusewright.exe"
SectionEnd

; Exactly the installed files, then their folders while they are empty; the
; exchange files are the program's own, should one have been left behind.
Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Fusewright.lnk"
  Delete "$DESKTOP\Fusewright.lnk"
  Delete "$INSTDIR\tools\fuse.bin"
  Delete "$INSTDIR\tools\lfuse.bin"
  Delete "$INSTDIR\tools\hfuse.bin"
  Delete "$INSTDIR\tools\lock.bin"
  !include "${FILES}"
  Delete "$INSTDIR\uninstall.exe"
  SetOutPath "$TEMP"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
