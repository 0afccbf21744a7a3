# Makes the release from the dist folder (cmake -P, from the release target).
# The zip is reproducible (see make_zip.py).
foreach(name VERSION DIST README SCRIPT ICON SIDE_PICTURE OUT PYTHON CONTRACT)
  if(NOT DEFINED ${name})
    message(FATAL_ERROR "release.cmake needs -D${name}=...")
  endif()
endforeach()
if(NOT MAKENSIS)
  message(FATAL_ERROR "makensis not found: install Debian's nsis package (tools/setup.sh does)")
endif()

set(zip ${OUT}/Skyliner-${VERSION}-win32.zip)
set(setup ${OUT}/Skyliner-${VERSION}-setup.exe)
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${PYTHON} ${CMAKE_CURRENT_LIST_DIR}/make_zip.py ${zip}
                        ${DIST}/Skyliner.scr ${DIST}/Skyliner.dll ${DIST}/Skyliner.data ${README}
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "zip failed")
endif()

# The uninstaller removes the runs' working files by the names the programs agree on.
file(STRINGS ${CONTRACT} lines REGEX "^constexpr char k(WorkingFolder|DesktopPicture|PuffPicture|SkyPicture|ModelCopy)Name")
set(working_files "")
foreach(line ${lines})
  string(REGEX REPLACE "^constexpr char k([A-Za-z]+)\\[\\] = \"([^\"]*)\".*" "-D\\1=\\2" define "${line}")
  list(APPEND working_files ${define})
endforeach()
list(LENGTH working_files count)
if(NOT count EQUAL 5)
  message(FATAL_ERROR "${CONTRACT}: found ${count} of the working folder's five names")
endif()

execute_process(COMMAND ${MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${VERSION} -DDIST=${DIST} -DICON=${ICON}
                        -DSIDE_PICTURE=${SIDE_PICTURE}
                        -DOUTFILE=${setup} ${working_files} ${SCRIPT}
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "makensis failed")
endif()

set(sums "")
foreach(file ${zip} ${setup})
  file(SHA256 ${file} hash)
  get_filename_component(name ${file} NAME)
  string(APPEND sums "${hash}  ${name}\n")
endforeach()
file(WRITE ${OUT}/SHA256SUMS "${sums}")
message(STATUS "release: ${zip}, ${setup}, ${OUT}/SHA256SUMS")
