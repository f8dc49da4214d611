# The Windows build's test-only libusb-1.0.dll: the exports avrdude.exe
# imports, each control transfer carried to the simulator over loopback TCP
# (FUSEWRIGHT_SIM_SOCKET=127.0.0.1:PORT). The Wine check puts it in place of
# the real DLL in its copy of the zip; it is never packed.
set(FW_WIN_LIBUSB_DIR "" CACHE PATH "Prefix of the cross-built libusb-1.0 (its include/libusb-1.0/libusb.h)")
if(NOT EXISTS "${FW_WIN_LIBUSB_DIR}/include/libusb-1.0/libusb.h")
  message(FATAL_ERROR "FW_WIN_LIBUSB_DIR must name the cross-built libusb-1.0 (scripts/windows-toolchain builds it)")
endif()
set(fw_interpose ${CMAKE_CURRENT_LIST_DIR})
add_library(fusewright-sim-libusb SHARED
  ${fw_interpose}/libusb1_calls.cpp
  ${fw_interpose}/virtual_usb_device.cpp
  ${fw_interpose}/sim_link_client.cpp)
target_include_directories(fusewright-sim-libusb PRIVATE ${fw_interpose}/.. ${FW_WIN_LIBUSB_DIR}/include)
target_link_libraries(fusewright-sim-libusb PRIVATE ws2_32)
# Linked statically, so it needs no DLL but the system's.
target_link_options(fusewright-sim-libusb PRIVATE -static)
set_target_properties(fusewright-sim-libusb PROPERTIES
  OUTPUT_NAME libusb-1.0 PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/sim-usb
  AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
