# Sanitizer and fuzzing options.
#
# ZARN_SANITIZE: everything (program, tests, stand-in tools) with AddressSanitizer and
#   UndefinedBehaviorSanitizer, any undefined behaviour fatal. Use its own build directory:
#     cmake -B build-asan -DZARN_SANITIZE=ON && cmake --build build-asan -j2 &&
#     ctest --test-dir build-asan
# ZARN_FUZZ: the libFuzzer targets under fuzz/ (clang only). zarn's own code is built with the
#   fuzzer's coverage instrumentation and with both sanitizers; see fuzz/README.md:
#     CC=clang-14 CXX=clang++-14 cmake -B build-fuzz -DZARN_FUZZ=ON -DBUILD_TESTING=OFF &&
#     cmake --build build-fuzz --target zarn_fuzzers
option(ZARN_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(ZARN_FUZZ "Build the libFuzzer targets under fuzz/ (needs clang)" OFF)

set(ZARN_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer)

if(ZARN_SANITIZE)
  add_compile_options(${ZARN_SANITIZER_FLAGS} -g)
  add_link_options(-fsanitize=address,undefined)
endif()

if(ZARN_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "ZARN_FUZZ needs clang (libFuzzer): configure with CXX=clang++-14")
  endif()
  # Coverage instrumentation everywhere; only the fuzz targets link libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link ${ZARN_SANITIZER_FLAGS} -g)
  add_link_options(-fsanitize=address,undefined)
endif()
