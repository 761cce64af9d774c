# Cross-compiles the 32-bit Windows product (for SAP GUI's 32-bit librfc32.dll).
set(VAULTGAUGE_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
