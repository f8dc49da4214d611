# cmake --install into a prefix the user owns (e.g. ~/.local):
#   <prefix>/lib/fusewright/fusewright   the program
#   <prefix>/lib/fusewright/tools/       links to the system's avrdude and avrdude.conf;
#                                        the exchange files are written here
#   <prefix>/bin/fusewright              the launcher, a link to the program
#   <prefix>/share/applications/fusewright.desktop, the hicolor icons, and the
#   USBasp udev rule in <prefix>/share/fusewright/ for the administrator.
set(FW_PROGRAM_DIR lib/fusewright)
install(TARGETS fusewright RUNTIME DESTINATION ${FW_PROGRAM_DIR})
foreach(size 32 64 128)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/fusewright-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME fusewright.png)
endforeach()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/60-fusewright-usbasp.rules DESTINATION share/fusewright)
# Links and the desktop entry depend on the prefix given at install time.
install(CODE "
  set(FW_PROGRAM_DIR \"${FW_PROGRAM_DIR}\")
  set(FW_AVRDUDE \"${FW_AVRDUDE}\")
  set(FW_AVRDUDE_CONF \"${FW_AVRDUDE_CONF}\")
  set(FW_DESKTOP_TEMPLATE \"${CMAKE_CURRENT_LIST_DIR}/fusewright.desktop.in\")
  include(\"${CMAKE_CURRENT_LIST_DIR}/install_links.cmake\")
")
