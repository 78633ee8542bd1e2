# Project-wide warning and sanitizer flags, applied through one interface target
# that every target of ours links.
add_library(tintara_options INTERFACE)
target_compile_options(tintara_options INTERFACE
  $<$<CXX_COMPILER_ID:GNU,Clang,AppleClang>:-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion>
  $<$<CXX_COMPILER_ID:MSVC>:/W4 /permissive->)
if(TINTARA_WERROR)
  target_compile_options(tintara_options INTERFACE
    $<$<CXX_COMPILER_ID:GNU,Clang,AppleClang>:-Werror>
    $<$<CXX_COMPILER_ID:MSVC>:/WX>)
endif()
if(TINTARA_SANITIZE)
  target_compile_options(tintara_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(tintara_options INTERFACE -fsanitize=address,undefined)
endif()
if(TINTARA_FUZZ)
  # Coverage feedback for libFuzzer from every library of ours, not only from the fuzz
  # targets' own files; the targets alone link libFuzzer's runtime.
  target_compile_options(tintara_options INTERFACE -fsanitize=fuzzer-no-link)
endif()
