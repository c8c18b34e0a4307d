# Gives each of Wine's import libraries, lib<name>.a, the name <name>.lib that lld-link looks
# for, as a symbolic link in LIB_DIR. Left out: msvcrt and msvcrtd, whose names belong to zarn's
# runtime, and winecrt0, Wine's own start-up code. ucrtbase.lib is a copy without the start-up
# objects that Wine keeps in libucrtbase.a: their main, wmain and WinMain would make lld-link
# pick the wrong entry point and subsystem.
#   cmake -DWINE_LIBRARY_DIR=... -DLLVM_AR=... -DLIB_DIR=... -P wine_import_libraries.cmake
file(GLOB archives "${WINE_LIBRARY_DIR}/lib*.a")
if(NOT archives)
  message(FATAL_ERROR "no import libraries in ${WINE_LIBRARY_DIR}: install the Debian package libwine-dev")
endif()
foreach(archive IN LISTS archives)
  get_filename_component(file_name ${archive} NAME)
  string(REGEX REPLACE "^lib(.*)\\.a$" "\\1" name ${file_name})
  if(name MATCHES "^(msvcrt|msvcrtd|winecrt0|ucrtbase)$")
    continue()
  endif()
  file(CREATE_LINK ${archive} ${LIB_DIR}/${name}.lib SYMBOLIC)
endforeach()

file(COPY_FILE ${WINE_LIBRARY_DIR}/libucrtbase.a ${LIB_DIR}/ucrtbase.lib)
execute_process(
  COMMAND ${LLVM_AR} t ${LIB_DIR}/ucrtbase.lib
  OUTPUT_VARIABLE members
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${LLVM_AR} cannot list ${LIB_DIR}/ucrtbase.lib")
endif()
string(REGEX MATCHALL "crt_[a-z]+\\.o" start_up_members "${members}")
if(start_up_members)
  execute_process(
    COMMAND ${LLVM_AR} d ${LIB_DIR}/ucrtbase.lib ${start_up_members}
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${LLVM_AR} cannot remove ${start_up_members} from ${LIB_DIR}/ucrtbase.lib")
  endif()
endif()
