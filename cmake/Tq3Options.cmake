# Compiler settings for the project's own targets. Third-party headers come in as
# SYSTEM includes, so warnings (and -Werror) apply to our code only.

set(TQ3_SANITIZE "" CACHE STRING "Sanitizers to build with, e.g. address,undefined")
# Warnings are errors in the project's own presets and CI, where the compiler is
# known; a host's or a packager's build with another compiler still builds, and
# shows what it warns about.
option(TQ3_WERROR "Treat warnings in the project's own code as errors" OFF)

function(tq3_own_code target)
  target_compile_options(${target} PRIVATE -Wall -Wextra $<$<BOOL:${TQ3_WERROR}>:-Werror>)
endfunction()

# The project's shared libraries call their own exported functions directly: no
# program replaces them, so the compiler may inline them and skip the procedure
# linkage table, which the per-cell paths (setting a cell, drawing a field) feel.
function(tq3_shared_library_code target)
  target_compile_options(${target} PRIVATE $<$<CXX_COMPILER_ID:GNU>:-fno-semantic-interposition>)
endfunction()

if(TQ3_SANITIZE)
  add_compile_options(-fsanitize=${TQ3_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${TQ3_SANITIZE})
endif()
