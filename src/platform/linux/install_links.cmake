# Runs at install time, with the prefix the install was given. Every file is
# put in place by file(INSTALL), so install_manifest.txt lists it.
if(FW_DEBIAN_PACKAGE)
  set(rules_dir lib/udev/rules.d)
else()
  set(rules_dir share/fusewright)
endif()

# Prepared in the build folder, then installed like any other file.
file(REMOVE_RECURSE "${FW_STAGING}")
file(MAKE_DIRECTORY "${FW_STAGING}/bin")
file(CREATE_LINK "../${FW_PROGRAM_DIR}/fusewright" "${FW_STAGING}/bin/fusewright" SYMBOLIC)

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
configure_file("${FW_DESKTOP_TEMPLATE}" "${FW_STAGING}/fusewright.desktop" @ONLY)

file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/bin" FILES "${FW_STAGING}/bin/fusewright")
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" FILES "${FW_STAGING}/fusewright.desktop")
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${rules_dir}" FILES "${FW_UDEV_RULE}")
