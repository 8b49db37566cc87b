# What ships to Windows users is lean and hardened. tavrel_release_binary()
# marks a target that goes into the packages:
# - linked relocatable with ASLR and DEP (and high-entropy ASLR on 64-bit),
#   stated explicitly rather than left to the linker's defaults;
# - stripped right after linking, so tests run what ships; the debug
#   information stays beside it in the build as <file>.debug, named in the
#   binary's debug link, where gdb and objdump find it for crash dumps;
# - with a link map (<file>.map) that the notices check reads to see which
#   static libraries went in.
# - signed and verified by scripts/sign when TAVREL_SIGN is on (the
#   certificate comes from TAVREL_SIGN_* in the build's environment).
# Natively it does nothing: nothing native ships.
option(TAVREL_SIGN "Sign the shipped Windows binaries and the installer (scripts/sign)" OFF)
set(TAVREL_SIGN_COMMAND ${PROJECT_SOURCE_DIR}/scripts/sign --require)

function(tavrel_release_binary target)
  if(NOT WIN32)
    return()
  endif()
  target_link_options(${target} PRIVATE -Wl,--dynamicbase -Wl,--nxcompat
    "-Wl,-Map=$<TARGET_FILE:${target}>.map")
  if(TAVREL_ARCH STREQUAL "win64")
    target_link_options(${target} PRIVATE -Wl,--high-entropy-va)
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> $<TARGET_FILE:${target}>.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=$<TARGET_FILE:${target}>.debug
      $<TARGET_FILE:${target}>
    VERBATIM)
  if(TAVREL_SIGN)
    add_custom_command(TARGET ${target} POST_BUILD COMMAND ${TAVREL_SIGN_COMMAND} $<TARGET_FILE:${target}> VERBATIM)
  endif()
endfunction()
