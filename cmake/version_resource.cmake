# Gives a Windows program a version resource from the one project version, so
# Explorer's Properties page shows it. EXTRA is more resource script for the
# same file (the screensaver's name in its string table).
function(skyliner_version_resource target description file_name)
  set(SKYLINER_DESCRIPTION "${description}")
  set(SKYLINER_FILE_NAME "${file_name}")
  set(SKYLINER_EXTRA_RESOURCES "${ARGN}")
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/version.rc.in ${script} @ONLY)
  target_sources(${target} PRIVATE ${script})
endfunction()
