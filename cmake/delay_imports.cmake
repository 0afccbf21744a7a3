# skyliner_delay_imports(TARGET lib...): links TARGET to the system libraries
# named (opengl32, glu32) so that each is loaded on its first call instead of
# at the program's start, where Windows would look in the program's folder
# first. The program then loads them itself, from the system folder.
# MinGW-w64: delay-import libraries made by dlltool from the import
# libraries' own export lists. MSVC: /DELAYLOAD with delayimp.
function(skyliner_delay_imports target)
  if(MSVC)
    foreach(lib ${ARGN})
      target_link_libraries(${target} PUBLIC ${lib})
      target_link_options(${target} PUBLIC /DELAYLOAD:${lib}.dll)
    endforeach()
    target_link_libraries(${target} PUBLIC delayimp)
    return()
  endif()
  set(folder ${CMAKE_BINARY_DIR}/delay_imports)
  file(MAKE_DIRECTORY ${folder})
  foreach(lib ${ARGN})
    find_library(SKYLINER_IMPORT_${lib} lib${lib}.a REQUIRED)
    set(out ${folder}/lib${lib}_delay.a)
    if(NOT EXISTS ${out})
      execute_process(COMMAND ${CMAKE_NM} -g ${SKYLINER_IMPORT_${lib}} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
      # 32-bit names carry C's leading underscore and the stdcall @n, which -k drops from the DLL's names.
      if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(imp "__imp__")
        set(kill_at --kill-at)
      else()
        set(imp "__imp_")
        set(kill_at)
      endif()
      string(REGEX MATCHALL " I ${imp}[^\n]+" entries "${symbols}")
      list(TRANSFORM entries REPLACE " I ${imp}" "")
      list(JOIN entries "\n" exports)
      file(WRITE ${folder}/${lib}.def "LIBRARY ${lib}.dll\nEXPORTS\n${exports}\n")
      # Named relative to the folder: dlltool puts the name into the library's symbols.
      execute_process(COMMAND ${CMAKE_DLLTOOL} ${kill_at} --input-def ${lib}.def --dllname ${lib}.dll
                      --output-delaylib lib${lib}_delay.a WORKING_DIRECTORY ${folder} COMMAND_ERROR_IS_FATAL ANY)
    endif()
    target_link_libraries(${target} PUBLIC ${out})
  endforeach()
  # GNU ld drops a delay-import thunk that is reached only through its __imp_
  # pointer (binutils bug 14339), leaving the call to jump to 0. With _GDI32_,
  # wingdi.h (and gl.h through WINGDIAPI) declares the functions without
  # dllimport, so the calls reach the thunks by name.
  target_compile_definitions(${target} PUBLIC _GDI32_)
endfunction()
