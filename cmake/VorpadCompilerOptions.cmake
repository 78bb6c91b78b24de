# Warnings, sanitizers and fuzzing instrumentation for every target of the tree.

add_compile_options(-Wall -Wextra -Wpedantic)
if(VORPAD_WERROR)
  add_compile_options(-Werror)
endif()

if(VORPAD_SANITIZE)
  add_compile_options(-fsanitize=${VORPAD_SANITIZE} -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${VORPAD_SANITIZE})
  if(VORPAD_SANITIZE MATCHES "undefined")
    add_compile_options(-fno-sanitize-recover=undefined)
  endif()
endif()

if(VORPAD_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VORPAD_FUZZ needs clang (set CMAKE_CXX_COMPILER=clang++)")
  endif()
  # Coverage feedback for the libraries under test; the fuzzer runtime itself
  # is linked into the fuzz targets only.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
