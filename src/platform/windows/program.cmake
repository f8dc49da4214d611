# The Windows program: a window-only executable (no console) and, beside it,
# the tools folder with the cross-built avrdude.exe, its manifest and its
# avrdude.conf.
set_target_properties(fusewright PROPERTIES WIN32_EXECUTABLE ON)

# Its icon, version information and manifest. The maker's name is the one the
# About window shows; the setup program (fusewright.nsi) reads the same
# values from product.nsh.
enable_language(RC)
file(STRINGS ${PROJECT_SOURCE_DIR}/src/app/maker_info.h FW_MAKER REGEX "makerName\\(\\)" ENCODING UTF-8)
string(REGEX REPLACE ".*QStringLiteral\\(\"([^\"]*)\"\\).*" "\\1" FW_MAKER "${FW_MAKER}")
string(REPLACE "." "," FW_VERSION_COMMAS "${PROJECT_VERSION}.0")
set(FW_VERSION_QUAD "${PROJECT_VERSION}.0")
set(FW_WIN_ICON ${CMAKE_CURRENT_LIST_DIR}/fusewright.ico)
set(FW_WIN_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/fusewright.manifest)
configure_file(${CMAKE_CURRENT_LIST_DIR}/fusewright.manifest.in ${FW_WIN_MANIFEST} @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/fusewright.rc.in ${CMAKE_CURRENT_BINARY_DIR}/fusewright.rc @ONLY)
target_sources(fusewright PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/fusewright.rc)
set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/fusewright.rc APPEND PROPERTY OBJECT_DEPENDS ${FW_WIN_ICON})
file(WRITE ${CMAKE_BINARY_DIR}/product.nsh
  "!define VERSION \"${PROJECT_VERSION}\"\n!define PUBLISHER \"${FW_MAKER}\"\n")
# The build machine's rcc may compress with zstd, which this Qt cannot read.
set_property(TARGET fw_app APPEND PROPERTY AUTORCC_OPTIONS --no-zstd)

set(FW_WIN_AVRDUDE_DIR "" CACHE PATH "Folder holding the Windows avrdude.exe and avrdude.conf")
if(NOT EXISTS "${FW_WIN_AVRDUDE_DIR}/avrdude.exe" OR NOT EXISTS "${FW_WIN_AVRDUDE_DIR}/avrdude.conf")
  message(FATAL_ERROR "FW_WIN_AVRDUDE_DIR must name the folder of the Windows avrdude.exe and avrdude.conf "
                      "(scripts/windows-toolchain builds them)")
endif()
set(FW_TOOLS_DIR ${CMAKE_BINARY_DIR}/tools)
add_custom_command(
  OUTPUT ${FW_TOOLS_DIR}/avrdude.exe ${FW_TOOLS_DIR}/avrdude.conf ${FW_TOOLS_DIR}/avrdude.exe.manifest
  COMMAND ${CMAKE_COMMAND} -E make_directory ${FW_TOOLS_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${FW_WIN_AVRDUDE_DIR}/avrdude.exe ${FW_WIN_AVRDUDE_DIR}/avrdude.conf
          ${CMAKE_CURRENT_LIST_DIR}/avrdude.exe.manifest ${FW_TOOLS_DIR}
  DEPENDS ${FW_WIN_AVRDUDE_DIR}/avrdude.exe ${FW_WIN_AVRDUDE_DIR}/avrdude.conf ${CMAKE_CURRENT_LIST_DIR}/avrdude.exe.manifest
  COMMENT "Filling the tools folder with the Windows avrdude"
  VERBATIM)
add_custom_target(fw_tools ALL DEPENDS ${FW_TOOLS_DIR}/avrdude.exe ${FW_TOOLS_DIR}/avrdude.conf
                                       ${FW_TOOLS_DIR}/avrdude.exe.manifest)
add_dependencies(fusewright fw_tools)
