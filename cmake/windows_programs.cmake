# The Windows programs' names and version resources. The 32-bit sensor is
enable_language(RC)
# named vaultgauge32.exe, so that both widths can stand in one folder (PRTG
# calls a sensor by its file name).

# Gives `target` a version resource with `description`.
function(vaultgauge_version_resource target description)
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  set(rc ${CMAKE_BINARY_DIR}/resources/${target}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set_target_properties(vaultgauge PROPERTIES OUTPUT_NAME vaultgauge32)
  set(width "32-bit")
else()
  set(width "64-bit")
endif()
vaultgauge_version_resource(vaultgauge
                            "Vaultgauge sensor: Oracle tablespace sizes of SAP systems for PRTG (${width})")
vaultgauge_version_resource(vaultgauge-profile "Vaultgauge profile tool: writes and checks connection profiles (${width})")
