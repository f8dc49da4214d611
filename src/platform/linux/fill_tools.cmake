# cmake -DFROM=<folder> -DTO=<tools folder> -P fill_tools.cmake
# Copies avrdude and avrdude.conf into the tools folder. A link someone put
# there to use another avrdude stays; only the links earlier builds made to
# the system's avrdude are replaced.
file(MAKE_DIRECTORY "${TO}")
foreach(name avrdude avrdude.conf)
  set(target "${TO}/${name}")
  if(IS_SYMLINK "${target}")
    file(READ_SYMLINK "${target}" old)
    if(NOT old MATCHES "^/(usr/bin/avrdude|etc/avrdude\\.conf)$")
      continue()
    endif()
    file(REMOVE "${target}")
  endif()
  file(COPY_FILE "${FROM}/${name}" "${target}")
  file(TOUCH_NOCREATE "${target}")
endforeach()
