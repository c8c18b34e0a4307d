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
    list(SORT names)
    set(entries)
    foreach(name IN LISTS names)
      string(REPLACE "'" "''" quoted "${name}")
      list(APPEND entries "    { 'type': 'file', 'name': '${quoted}', 'external-contents': '${quoted_directory}/${quoted}' }")
    endforeach()
    list(JOIN entries ",\n" contents)
    list(APPEND roots "  { 'type': 'directory', 'name': '${quoted_directory}', 'contents': [\n${contents}\n  ] }")
  endforeach()
  list(JOIN roots ",\n" roots)
  # Written beside it and renamed over it, so that a compile never reads half of it.
  set(text "{ 'version': 0, 'case-sensitive': 'false', 'roots': [\n${roots}\n] }\n")
  file(WRITE ${output}.new "${text}")
  file(RENAME ${output}.new ${output})
endfunction()
