# Runs at install time, with the prefix the install was given.
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

function(fw_link target link)
  get_filename_component(dir "${link}" DIRECTORY)
  file(MAKE_DIRECTORY "${dir}")
  message(STATUS "Linking: ${link} -> ${target}")
  file(CREATE_LINK "${target}" "${link}" SYMBOLIC)
endfunction()

fw_link("${FW_AVRDUDE}" "${root}/${FW_PROGRAM_DIR}/tools/avrdude")
fw_link("${FW_AVRDUDE_CONF}" "${root}/${FW_PROGRAM_DIR}/tools/avrdude.conf")
fw_link("../${FW_PROGRAM_DIR}/fusewright" "${root}/bin/fusewright")

# Exec of a desktop entry: quoted when the path holds a reserved character,
# with \ " ` $ escaped inside the quotes and every backslash doubled once more
# for the entry's string syntax; % is doubled.
set(launcher "${CMAKE_INSTALL_PREFIX}/bin/fusewright")
set(FW_DESKTOP_TRYEXEC "${launcher}")
string(REPLACE "\\" "\\\\" FW_DESKTOP_TRYEXEC "${FW_DESKTOP_TRYEXEC}")
set(exec "${launcher}")
string(REPLACE "%" "%%" exec "${exec}")
if(exec MATCHES "[^A-Za-z0-9_./+-]")
  foreach(c "\\" "\"" "`" "$")
    string(REPLACE "${c}" "\\${c}" exec "${exec}")
  endforeach()
  string(REPLACE "\\" "\\\\" exec "${exec}")
  set(exec "\"${exec}\"")
endif()
set(FW_DESKTOP_EXEC "${exec}")
set(entry "${root}/share/applications/fusewright.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${FW_DESKTOP_TEMPLATE}" "${entry}" @ONLY)
