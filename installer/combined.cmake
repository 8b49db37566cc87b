# Makes Tavrel-<version>-setup.exe, the installer for both Windows builds
# (TavrelSetup.nsi), in the folder holding the two built presets, with
# SHA256SUMS beside it and its SBOM Tavrel-<version>.spdx.json, which refers
# to the SBOMs of the two builds for what their packages hold. Each
# build's package is staged as its own installer's is (stage.cmake), with
# the files' times set to SOURCE_DATE_EPOCH, or when it is unset the
# commit's time, so the result depends on the files only.
# Run as: cmake -DBUILDS=<folder holding win32/ and win64/> -P combined.cmake
if(NOT DEFINED BUILDS)
  message(FATAL_ERROR "combined: BUILDS is not given")
endif()
find_program(makensis makensis REQUIRED)
find_program(python3 python3 REQUIRED)
set(source_dir ${CMAKE_CURRENT_LIST_DIR})
set(work ${BUILDS}/combined)

include(${CMAKE_CURRENT_LIST_DIR}/source-date.cmake)

set(versions "")
set(parts "")
set(defines "")
foreach(preset win32 win64)
  set(build ${BUILDS}/${preset})
  set(facts ${build}/installer/package.cmake)
  if(NOT EXISTS ${facts})
    message(FATAL_ERROR "combined: ${build} is not configured; build the ${preset} preset first")
  endif()
  unset(SIGN)
  include(${facts})
  if(NOT ARCH STREQUAL preset)
    message(FATAL_ERROR "combined: ${build} is the ${ARCH} build, not ${preset}")
  endif()
  list(APPEND versions ${VERSION})
  set(part ${build}/Tavrel-${VERSION}-${preset}.spdx.json)
  if(NOT EXISTS ${part})
    message(FATAL_ERROR "combined: ${part} is missing; build the ${preset} preset first")
  endif()
  list(APPEND parts --part ${part})
  set(stage ${work}/stage-${preset})
  set(list ${work}/files-${preset}.nsh)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${EPOCH}
    ${CMAKE_COMMAND} -DBUILD=${build} -DSTAGE=${stage} -DLIST=${list} -DSUFFIX=_${preset}
    -P ${source_dir}/stage.cmake RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "combined: staging the ${preset} build failed; is it built?")
  endif()
  string(TOUPPER ${preset} name)
  list(APPEND defines -DFILES_${name}=${list})
endforeach()
list(REMOVE_DUPLICATES versions)
list(LENGTH versions count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "combined: the builds are of different versions: ${versions}")
endif()
if(DEFINED SIGN)
  list(APPEND defines "-DSIGN=${SIGN}")
endif()

set(setup ${BUILDS}/Tavrel-${VERSION}-setup.exe)
execute_process(COMMAND ${makensis} -V2 -DVERSION=${VERSION} -DPUBLISHER=${PUBLISHER} ${defines}
    -DOUTFILE=${setup} ${source_dir}/TavrelSetup.nsi
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "combined: makensis failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${EPOCH}
    ${python3} ${source_dir}/make-accounts.py --combined --name Tavrel --version ${VERSION} --supplier ${PUBLISHER}
    ${parts} --sums ${BUILDS}/SHA256SUMS --sbom ${BUILDS}/Tavrel-${VERSION}.spdx.json ${setup}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "combined: writing SHA256SUMS and the SBOM failed")
endif()
message(STATUS "combined: made ${setup}, SHA256SUMS and Tavrel-${VERSION}.spdx.json beside it")
