# Which implementation of the system services is built: instance_lock_<x>.cpp,
# exchange_folder_<x>.cpp and private_file_<x>.cpp (win or posix), and
# child_process_<x>.cpp (win or linux: the child process uses prctl(), pipe2()
# and dup3(), which only Linux has, so other systems stop here).
if(WIN32)
  set(FW_SYSTEM_SOURCES win)
  set(FW_CHILD_PROCESS_SOURCES win)
elseif(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  set(FW_SYSTEM_SOURCES posix)
  set(FW_CHILD_PROCESS_SOURCES linux)
else()
  message(FATAL_ERROR "The child process is written for Linux and Windows only, not ${CMAKE_SYSTEM_NAME}")
endif()
