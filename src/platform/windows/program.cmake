# The Windows program: a window-only executable (no console) and, beside it,
# the tools folder with the cross-built avrdude.exe, its avrdude.conf and the
# libusb-1.0.dll it loads.
set_target_properties(fusewright PROPERTIES WIN32_EXECUTABLE ON)
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
