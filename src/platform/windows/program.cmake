# The Windows program: a window-only executable (no console) and, beside it,
# the tools folder with the cross-built avrdude.exe, its manifest, its
# avrdude.conf and the libusb-1.0.dll it loads.
set_target_properties(fusewright PROPERTIES WIN32_EXECUTABLE ON)

# Its icon, version information and manifest. The maker's name is the one the
# About window shows; the setup program (fusewright.nsi) reads the same
# values from product.nsh.
enable_language(RC)
# Read across lines: the function's body may stand on a line of its own.
file(READ ${PROJECT_SOURCE_DIR}/src/app/maker_info.h FW_MAKER_INFO)
string(REGEX MATCH "makerName\\(\\)[^\"]*QStringLiteral\\(\"([^\"]*)\"\\)" FW_MAKER "${FW_MAKER_INFO}")
set(FW_MAKER "${CMAKE_MATCH_1}")
if(NOT FW_MAKER)
  message(FATAL_ERROR "src/app/maker_info.h names no maker in makerName()")
endif()
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

set(FW_WIN_AVRDUDE_DIR "" CACHE PATH "Folder holding the Windows avrdude.exe, avrdude.conf and libusb-1.0.dll")
set(fw_tool_files avrdude.exe avrdude.conf libusb-1.0.dll)
foreach(f IN LISTS fw_tool_files)
  if(NOT EXISTS "${FW_WIN_AVRDUDE_DIR}/${f}")
    message(FATAL_ERROR "FW_WIN_AVRDUDE_DIR must name the folder of the Windows avrdude.exe, avrdude.conf "
                        "and libusb-1.0.dll (scripts/windows-toolchain builds them)")
  endif()
endforeach()
set(FW_TOOLS_DIR ${CMAKE_BINARY_DIR}/tools)
list(TRANSFORM fw_tool_files PREPEND ${FW_WIN_AVRDUDE_DIR}/ OUTPUT_VARIABLE fw_tool_sources)
list(APPEND fw_tool_sources ${CMAKE_CURRENT_LIST_DIR}/avrdude.exe.manifest)
list(APPEND fw_tool_files avrdude.exe.manifest)
list(TRANSFORM fw_tool_files PREPEND ${FW_TOOLS_DIR}/ OUTPUT_VARIABLE fw_tool_copies)
add_custom_command(
  OUTPUT ${fw_tool_copies}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${FW_TOOLS_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${fw_tool_sources} ${FW_TOOLS_DIR}
  DEPENDS ${fw_tool_sources}
  COMMENT "Filling the tools folder with the Windows avrdude"
  VERBATIM)
add_custom_target(fw_tools ALL DEPENDS ${fw_tool_copies})
add_dependencies(fusewright fw_tools)
