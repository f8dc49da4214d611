# Which implementation of the process and instance-lock services is built:
# child_process_<x>.cpp, instance_lock_<x>.cpp.
if(WIN32)
  set(FW_SYSTEM_SOURCES win)
else()
  set(FW_SYSTEM_SOURCES posix)
endif()
