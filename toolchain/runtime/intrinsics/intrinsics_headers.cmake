# Wrappers of clang's intrinsics headers that make the intrinsics usable in any function, as
# cl.exe's are, without the compile being asked for the processor features (-mavx2, -maes …).
# cl.exe finds them before clang's own headers.
#
# Under _MSC_VER clang 14's immintrin.h and x86intrin.h leave out the header of every feature the
# compile was not asked for. While a wrapper reads clang's header, the feature macros are set, so
# that everything is declared, and put back afterwards, so that the program's own tests of them
# still say what the compile targets. Each intrinsic is a function compiled for its feature;
# without always_inline, one called where the feature is off stays a call (the compiler inlines
# no function into one that lacks its features), so only the intrinsic itself uses the
# feature's instructions, and one called where the feature is on is inlined as before. SSE and
# SSE2, which every x86-64 processor has, are read first as they are.
#
# What stays as it was: the headers of features with 256- and 512-bit vectors (AVX, AVX2,
# AVX-512 …, see features.txt), which a function without AVX passes and returns differently;
# and the intrinsics that clang defines as macros over a builtin (those taking an
# immediate operand, such as _mm_clmulepi64_si128, _mm_aeskeygenassist_si128, _mm_alignr_epi8 or
# _mm256_extract_epi32) need the feature in the calling function, since clang 14 checks a
# builtin against its caller; `__attribute__((target("pclmul")))` on that function, or the
# -m option for the whole compile, gives it.
#
#   zarn_write_intrinsics_headers(DIRECTORY FEATURES_FILE)
function(zarn_write_intrinsics_headers directory features_file)
  file(STRINGS ${features_file} features REGEX "^__")
  set(begin "/* Written by intrinsics_headers.cmake: see there. */\n#include <emmintrin.h>\n")
  set(end "/* Written by intrinsics_headers.cmake: undoes zarn_intrinsics_begin.h. */\n")
  foreach(feature IN LISTS features ITEMS __always_inline__)
    set(value 1)
    if(feature STREQUAL "__always_inline__")
      set(value __nodebug__)
    endif()
    string(APPEND begin "#pragma push_macro(\"${feature}\")\n#undef ${feature}\n#define ${feature} ${value}\n")
    string(APPEND end "#pragma pop_macro(\"${feature}\")\n")
  endforeach()
  file(CONFIGURE OUTPUT ${directory}/zarn_intrinsics_begin.h CONTENT "${begin}")
  file(CONFIGURE OUTPUT ${directory}/zarn_intrinsics_end.h CONTENT "${end}")
  # The headers a program includes, and those clang's include in turn, of features beyond SSE2.
  foreach(header immintrin x86intrin x86gprintrin ammintrin pmmintrin tmmintrin smmintrin
                 nmmintrin wmmintrin)
    string(TOUPPER ${header} opener)
    file(CONFIGURE OUTPUT ${directory}/${header}.h CONTENT
"/* Written by intrinsics_headers.cmake: clang's ${header}.h, usable in any function. */
#ifndef ZARN_INTRINSICS_OPEN
#define ZARN_INTRINSICS_OPEN
#define ZARN_INTRINSICS_OPENED_BY_${opener}
#include \"zarn_intrinsics_begin.h\"
#endif
#include_next <${header}.h>
#ifdef ZARN_INTRINSICS_OPENED_BY_${opener}
#undef ZARN_INTRINSICS_OPENED_BY_${opener}
#include \"zarn_intrinsics_end.h\"
#undef ZARN_INTRINSICS_OPEN
#endif
")
  endforeach()
endfunction()
