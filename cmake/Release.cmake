# What ships to Windows users is lean, hardened and rebuilt bit for bit from
# its commit.
#
# Every Windows target (what ships and the tests that exercise it alike) is
# compiled and linked hardened, so the tests run the code as it ships:
# - the stack protector (-fstack-protector-strong; its guard and failure
#   handler come from GCC's libssp) and _FORTIFY_SOURCE=2, which mingw-w64's
#   string.h, stdio.h and io.h honour with optimisation (checked copies from
#   libssp; wchar.h and the C++ library have none);
# - ASLR with the relocations kept, NX (DEP); on 64-bit high-entropy ASLR and
#   image bases above 4 GiB; on 32-bit no SEH (GCC unwinds C++ exceptions with
#   DWARF tables there, so no image has SEH handlers, and the flag stops
#   Windows from dispatching to any).
# Control Flow Guard and CET shadow stacks need a newer toolchain.
#
# Reproducible: no path of the machine goes into the objects (sources and the
# build folder are mapped to /tavrel), and every tool that stamps a time (the
# linker, objcopy, makensis, the ZIP and the signatures) takes it from
# TAVREL_SOURCE_DATE_EPOCH: the environment's SOURCE_DATE_EPOCH when set at
# configure time, else the time of the checked-out commit. Steps that need it
# run through TAVREL_WITH_EPOCH (a command prefix that sets it).
#
# tavrel_release_binary() marks a target that goes into the packages:
# - stripped right after linking, so tests run what ships; the debug
#   information stays beside it in the build as <file>.debug, named in the
#   binary's debug link, where gdb and objdump find it for crash dumps;
# - with a link map (<file>.map) that the notices, the SBOM and the hardening
#   check read to see which static libraries went in;
# - signed and verified by scripts/sign when TAVREL_SIGN is on (the
#   certificate comes from TAVREL_SIGN_* in the build's environment).
# Natively it does nothing: nothing native ships.

# Code that never ships (tests, benchmarks, the stand-ins and their tools)
# carries line tables only: enough for backtraces and the sanitizers' reports,
# and it compiles about a third faster than with full debug information. The
# folders holding such code add these options; what ships, and the libraries
# it is made of, keep full debug information for their .debug files.
set(TAVREL_UNSHIPPED_COMPILE_OPTIONS -g1)

option(TAVREL_SIGN "Sign the shipped Windows binaries and the installer (scripts/sign)" OFF)
set(TAVREL_SIGN_COMMAND ${PROJECT_SOURCE_DIR}/scripts/sign --require)

include(${CMAKE_CURRENT_LIST_DIR}/SourceDateEpoch.cmake)
set(TAVREL_WITH_EPOCH ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${TAVREL_SOURCE_DATE_EPOCH})

if(WIN32)
  add_compile_options(-fstack-protector-strong -D_FORTIFY_SOURCE=2
    # The build folder's map comes last: it may lie inside the sources, and
    # the last matching map wins. Its place is the same depth below /tavrel as the
    # usual build/<preset>, so relative paths that ccache's base_dir writes
    # still resolve.
    -ffile-prefix-map=${PROJECT_SOURCE_DIR}=/tavrel
    -ffile-prefix-map=${PROJECT_BINARY_DIR}=/tavrel/build/${TAVREL_ARCH})
  add_link_options(-fstack-protector-strong -Wl,--dynamicbase -Wl,--enable-reloc-section -Wl,--nxcompat
    -Wl,--insert-timestamp)
  if(TAVREL_ARCH STREQUAL "win64")
    add_link_options(-Wl,--high-entropy-va)
    string(APPEND CMAKE_EXE_LINKER_FLAGS " -Wl,--image-base=0x140000000")
    string(APPEND CMAKE_MODULE_LINKER_FLAGS " -Wl,--image-base=0x180000000")
    string(APPEND CMAKE_SHARED_LINKER_FLAGS " -Wl,--image-base=0x180000000")
  else()
    add_link_options(-Wl,--no-seh)
  endif()
endif()

function(tavrel_release_binary target)
  if(NOT WIN32)
    return()
  endif()
  target_link_options(${target} PRIVATE "-Wl,-Map=$<TARGET_FILE:${target}>.map")
  # The linker stamps the PE header with SOURCE_DATE_EPOCH (--insert-timestamp);
  # only what ships, so a new commit relinks no test program.
  set_target_properties(${target} PROPERTIES CXX_LINKER_LAUNCHER "${TAVREL_WITH_EPOCH}")
  # objcopy writes the PE header anew, stamped with SOURCE_DATE_EPOCH.
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${TAVREL_WITH_EPOCH} ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}>
      $<TARGET_FILE:${target}>.debug
    COMMAND ${TAVREL_WITH_EPOCH} ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=$<TARGET_FILE:${target}>.debug
      $<TARGET_FILE:${target}>
    VERBATIM)
  if(TAVREL_SIGN)
    add_custom_command(TARGET ${target} POST_BUILD COMMAND ${TAVREL_WITH_EPOCH} ${TAVREL_SIGN_COMMAND}
      $<TARGET_FILE:${target}> VERBATIM)
  endif()
endfunction()
