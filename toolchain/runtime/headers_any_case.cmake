# The file-system overlay through which clang finds the runtime's headers whatever the letter
# case of the name they are included by ("Windows.h", "WinSock2.h", "SYS/Types.h"), as Windows
# finds them: every file under each directory, by its own name. It only adds names: a lookup that
# the overlay misses goes on to the files themselves, and the compiler reports each header by its
# real name, so dependency files name files that exist.
#
#   zarn_write_headers_any_case(FILE DIRECTORY...)
function(zarn_write_headers_any_case output)
  set(roots)
  foreach(directory IN LISTS ARGN)
    string(REPLACE "'" "''" quoted_directory "${directory}")
    file(GLOB_RECURSE names RELATIVE ${directory} LIST_DIRECTORIES false ${directory}/*)
    # The C++ library's internal headers (__config, __algorithm/...) are only included by its
    # own, by their exact names; leaving them out keeps the overlay, which every compile reads,
    # small.
    list(FILTER names EXCLUDE REGEX "(^|/)__")
    # A directory of the list inside this one has its own entry.
    foreach(other IN LISTS ARGN)
      string(FIND "${other}" "${directory}/" at)
      if(at EQUAL 0)
        file(RELATIVE_PATH inner ${directory} ${other})
        string(REGEX REPLACE "([][+.*()^$?|\\])" "\\\\\\1" inner "${inner}")
        list(FILTER names EXCLUDE REGEX "^${inner}/")
      endif()
    endforeach()
    list(SORT names)
    set(entries)
    foreach(name IN LISTS names)
      string(REPLACE "'" "''" quoted "${name}")
      list(APPEND entries "{'type':'file','name':'${quoted}','external-contents':'${quoted_directory}/${quoted}'}")
    endforeach()
    list(JOIN entries ",\n" contents)
    list(APPEND roots "{'type':'directory','name':'${quoted_directory}','contents':[\n${contents}]}")
  endforeach()
  list(JOIN roots ",\n" roots)
  # Written beside it and renamed over it, so that a compile never reads half of it.
  set(text "{'version':0,'case-sensitive':'false','roots':[\n${roots}]}\n")
  file(WRITE ${output}.new "${text}")
  file(RENAME ${output}.new ${output})
endfunction()
