# Which implementation of the process, instance-lock and exchange-folder
# services is built: child_process_<x>.cpp, instance_lock_<x>.cpp,
# exchange_folder_<x>.cpp.
if(WIN32)
  set(FW_SYSTEM_SOURCES win)
else()
  set(FW_SYSTEM_SOURCES posix)
endif()
