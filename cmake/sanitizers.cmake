# FW_SANITIZE=ON: everything built with AddressSanitizer (leak detection
# included) and UndefinedBehaviorSanitizer; any report ends the process.
# Optimised lightly and with line tables only: the reports still name file
# and line, and the build stays short.
option(FW_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(FW_SANITIZE)
  set(FW_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_compile_options(${FW_SANITIZER_FLAGS} -O1 -gline-tables-only)
  else()
    add_compile_options(${FW_SANITIZER_FLAGS} -O1 -g1)
  endif()
  add_link_options(${FW_SANITIZER_FLAGS})
  find_program(FW_LLD ld.lld)
  if(FW_LLD AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_link_options(-fuse-ld=lld)   # links the large sanitized programs in a fraction of the time
  endif()
endif()

# fw_sanitizer_test_environment(<test>): every report of the test and of the
# programs it starts (the virtual programmer, the program itself) goes to
# sanitizer-reports/<test>.<pid> in the build folder, which scripts/sanitize
# checks; leak detection on, with the suppressions of Qt's and the system's
# own leaks.
function(fw_sanitizer_test_environment test)
  if(NOT FW_SANITIZE)
    return()
  endif()
  set(log log_path=${CMAKE_BINARY_DIR}/sanitizer-reports/${test})
  set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT
    "ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:${log}"
    "UBSAN_OPTIONS=print_stacktrace=1:${log}"
    "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/sanitizer/leaks.supp:print_suppressions=0")
endfunction()

# The sanitizer build spent most of its time reading Qt's headers again for
# every source file, in the compiler and in moc. Two precompiled headers, one
# for the program's optimisation and one for the tests' (a header's flags must
# match its users'), cut the compiler's part to once; moc is run without the
# system's include folders (it needs only the project's headers to find the
# classes it writes code for; its output is the same, but for includes of Qt
# headers that the precompiled header holds anyway). Called after every
# target is defined.
function(fw_sanitizer_precompiled_headers)
  if(NOT FW_SANITIZE OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    return()
  endif()
  file(WRITE ${CMAKE_BINARY_DIR}/fw_pch.cpp "")
  foreach(kind program tests)
    add_library(fw_pch_${kind} OBJECT ${CMAKE_BINARY_DIR}/fw_pch.cpp)
    target_link_libraries(fw_pch_${kind} PRIVATE Qt6::Widgets)
    target_precompile_headers(fw_pch_${kind} PRIVATE <QtWidgets/QtWidgets>)
  endforeach()
  # What tests/CMakeLists.txt adds to its own targets.
  target_compile_options(fw_pch_tests PRIVATE -O0 -g0)
  target_include_directories(fw_pch_tests PRIVATE $<TARGET_PROPERTY:Qt6::Test,INTERFACE_INCLUDE_DIRECTORIES>)
  target_precompile_headers(fw_pch_tests PRIVATE <QtTest/QtTest>)

  get_target_property(moc Qt6::moc LOCATION)
  set(moc_wrapper ${CMAKE_BINARY_DIR}/moc-project-headers)
  file(WRITE ${moc_wrapper} "#!/bin/sh\nfor a; do shift; case $a in -I/usr/*) ;; *) set -- \"$@\" \"$a\" ;; esac; done\nexec ${moc} \"$@\"\n")
  file(CHMOD ${moc_wrapper} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

  set(dirs ${CMAKE_SOURCE_DIR})
  while(dirs)
    list(POP_FRONT dirs dir)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    list(APPEND dirs ${subdirs})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(t ${targets})
      get_target_property(type ${t} TYPE)
      get_target_property(libs ${t} LINK_LIBRARIES)
      if(t MATCHES "^(fw_pch_|fuzz_)" OR NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY)$"
         OR NOT "${libs}" MATCHES "Qt6::|fw_")
        continue()
      endif()
      get_target_property(automoc ${t} AUTOMOC)
      if(automoc)
        set_target_properties(${t} PROPERTIES AUTOMOC_EXECUTABLE ${moc_wrapper})
      endif()
      if(dir MATCHES "^${CMAKE_SOURCE_DIR}/tests")
        target_precompile_headers(${t} REUSE_FROM fw_pch_tests)
      else()
        target_precompile_headers(${t} REUSE_FROM fw_pch_program)
      endif()
    endforeach()
  endwhile()
endfunction()
