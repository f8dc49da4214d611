# cmake --install into a prefix the user owns (e.g. ~/.local), and the Debian
# package built by scripts/package (prefix /usr):
#   <prefix>/lib/fusewright/fusewright   the program
#   <prefix>/lib/fusewright/tools/       the program's own avrdude and its avrdude.conf;
#                                        the exchange files go here while the user owns it
#   <prefix>/bin/fusewright              the launcher, a link to the program
#   <prefix>/share/applications/fusewright.desktop, the hicolor icons, the
#   AppStream metainfo, the man page, the copyright and changelog files with
#   the patches avrdude was built with, and the
#   USBasp udev rule: in lib/udev/rules.d in the package, else in
#   share/fusewright for the administrator.
# The package is built for the Debian release it is built on: the library
# names it depends on differ between 12 and 13 (libelf1, libelf1t64), so its
# version names the release (1.0.0+deb12, 1.0.0+deb13).
file(STRINGS /etc/os-release fw_os_version REGEX "^VERSION_ID=")
string(REGEX REPLACE "^VERSION_ID=\"?([0-9]+).*$" "\\1" fw_debian_release "${fw_os_version}")
if(fw_debian_release MATCHES "^[0-9]+$")
  set(FW_DEB_VERSION ${PROJECT_VERSION}+deb${fw_debian_release} CACHE INTERNAL "")
else()
  set(FW_DEB_VERSION ${PROJECT_VERSION} CACHE INTERNAL "")
endif()
set(FW_PROGRAM_DIR lib/fusewright)
install(TARGETS fusewright RUNTIME DESTINATION ${FW_PROGRAM_DIR})
file(REAL_PATH ${FW_AVRDUDE} avrdude_program)
file(REAL_PATH ${FW_AVRDUDE_CONF} avrdude_conf)
install(PROGRAMS ${avrdude_program} DESTINATION ${FW_PROGRAM_DIR}/tools RENAME avrdude)
install(FILES ${avrdude_conf} DESTINATION ${FW_PROGRAM_DIR}/tools RENAME avrdude.conf)
file(GLOB avrdude_patches ${PROJECT_SOURCE_DIR}/scripts/avrdude-patches/*.patch)
install(FILES ${avrdude_patches} DESTINATION share/doc/fusewright/avrdude-patches)
foreach(size 32 64 128)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/fusewright-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME fusewright.png)
endforeach()

set(FW_LINUX_OUT ${CMAKE_CURRENT_BINARY_DIR}/linux)
configure_file(${CMAKE_CURRENT_LIST_DIR}/org.fusewright.fusewright.metainfo.xml
               ${FW_LINUX_OUT}/org.fusewright.fusewright.metainfo.xml @ONLY)
install(FILES ${FW_LINUX_OUT}/org.fusewright.fusewright.metainfo.xml DESTINATION share/metainfo)
configure_file(${CMAKE_CURRENT_LIST_DIR}/fusewright.1 ${FW_LINUX_OUT}/fusewright.1 @ONLY)
# Compressed as Debian wants them: best compression, no name or time stamp inside.
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog ${FW_LINUX_OUT}/changelog @ONLY)
foreach(page fusewright.1 changelog)
  set(source ${FW_LINUX_OUT}/${page})
  add_custom_command(OUTPUT ${FW_LINUX_OUT}/${page}.gz
    COMMAND sh -c "gzip -9n < \"$1\" > \"$2\"" gzip ${source} ${FW_LINUX_OUT}/${page}.gz
    DEPENDS ${source} VERBATIM)
endforeach()
add_custom_target(fw_compressed_docs ALL DEPENDS ${FW_LINUX_OUT}/fusewright.1.gz ${FW_LINUX_OUT}/changelog.gz)
install(FILES ${FW_LINUX_OUT}/fusewright.1.gz DESTINATION share/man/man1)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${CMAKE_CURRENT_LIST_DIR}/README.Debian ${FW_LINUX_OUT}/changelog.gz
        DESTINATION share/doc/fusewright)

# Links, the desktop entry and the udev rule depend on the prefix given at
# install time and on whether the install is the package's.
install(CODE "
  set(FW_PROGRAM_DIR \"${FW_PROGRAM_DIR}\")
  set(FW_DESKTOP_TEMPLATE \"${CMAKE_CURRENT_LIST_DIR}/fusewright.desktop.in\")
  set(FW_UDEV_RULE \"${CMAKE_CURRENT_LIST_DIR}/60-fusewright-usbasp.rules\")
  set(FW_STAGING \"${FW_LINUX_OUT}/staging\")
  include(\"${CMAKE_CURRENT_LIST_DIR}/install_links.cmake\")
")

include(${CMAKE_CURRENT_LIST_DIR}/package.cmake)
