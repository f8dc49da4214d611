# The Windows program: a window-only executable (no console) and, beside it,
# the tools folder with the cross-built avrdude.exe and its avrdude.conf.
set_target_properties(fusewright PROPERTIES WIN32_EXECUTABLE ON)
# The build machine's rcc may compress with zstd, which this Qt cannot read.
set_property(TARGET fw_app APPEND PROPERTY AUTORCC_OPTIONS --no-zstd)

set(FW_WIN_AVRDUDE_DIR "" CACHE PATH "Folder holding the Windows avrdude.exe and avrdude.conf")
if(NOT EXISTS "${FW_WIN_AVRDUDE_DIR}/avrdude.exe" OR NOT EXISTS "${FW_WIN_AVRDUDE_DIR}/avrdude.conf")
  message(FATAL_ERROR "FW_WIN_AVRDUDE_DIR must name the folder of the Windows avrdude.exe and avrdude.conf "
                      "(scripts/windows-toolchain builds them)")
endif()
set(FW_TOOLS_DIR ${CMAKE_BINARY_DIR}/tools)
add_custom_command(
  OUTPUT ${FW_TOOLS_DIR}/avrdude.exe ${FW_TOOLS_DIR}/avrdude.conf
  COMMAND ${CMAKE_COMMAND} -E make_directory ${FW_TOOLS_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${FW_WIN_AVRDUDE_DIR}/avrdude.exe ${FW_WIN_AVRDUDE_DIR}/avrdude.conf ${FW_TOOLS_DIR}
  DEPENDS ${FW_WIN_AVRDUDE_DIR}/avrdude.exe ${FW_WIN_AVRDUDE_DIR}/avrdude.conf
  COMMENT "Filling the tools folder with the Windows avrdude"
  VERBATIM)
add_custom_target(fw_tools ALL DEPENDS ${FW_TOOLS_DIR}/avrdude.exe ${FW_TOOLS_DIR}/avrdude.conf)
add_dependencies(fusewright fw_tools)
