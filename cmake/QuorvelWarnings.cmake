# Our own code builds with warnings as errors; third-party headers come in as
# system includes through their imported targets, so they do not trip this.
function(quorvel_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /utf-8)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror
      -Wno-error=deprecated-declarations)
  endif()
endfunction()
