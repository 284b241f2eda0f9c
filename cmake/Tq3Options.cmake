# Compiler settings for the project's own targets. Third-party headers come in as
# SYSTEM includes, so -Werror applies to our code only.

set(TQ3_SANITIZE "" CACHE STRING "Sanitizers to build with, e.g. address,undefined")

function(tq3_own_code target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

if(TQ3_SANITIZE)
  add_compile_options(-fsanitize=${TQ3_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${TQ3_SANITIZE})
endif()
